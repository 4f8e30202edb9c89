#pragma once

class MachineData;

// Builds the default blocks at every start and writes their images to the temporary folder
// ($KNIT_ROOT/tmp/default.sys, default.wrk, default.mth). Each returns 1 when the image was
// written, else 0; the block in data holds the defaults either way. The system block's
// defaults follow the cam-board type of data's controller configuration.
unsigned char initSystemParams(MachineData &data);
unsigned char initWorkParams(MachineData &data);
unsigned char initOtherParams(MachineData &data);

// The number of knitting systems of the carriage: 1 on this machine.
int countSystems();
