#pragma once

// Builds the default blocks at every start and writes their images to the temporary folder
// ($KNIT_ROOT/tmp/default.sys, default.wrk, default.mth). Each returns 1 when the image was
// written, else 0; the block in memory holds the defaults either way.
unsigned char initsystemparam();
unsigned char initworkparam();
unsigned char initelseparam();

// The number of knitting systems of the carriage: 1 on this machine.
int count_system_number();
