#pragma once

#include "parablock.h"

#include <QString>

// The process-wide blocks every part of the panel shares; zero at program start.
constexpr std::size_t kSystemSize = 404;
constexpr std::size_t kWorkSize = 1556;
constexpr std::size_t kCurSize = 292;
constexpr std::size_t kRunSize = 4;
constexpr std::size_t kTestIoSize = 80;
constexpr std::size_t kTestMotoSize = 92;
constexpr std::size_t kManagementSize = 8;
constexpr std::size_t kMouthSpeedSize = 1280;
constexpr std::size_t kConfigCheckSize = 200;
constexpr std::size_t kCntImageSize = 1024 * 1024;

extern ParaBlock<kSystemSize> para_system;
extern ParaBlock<kSystemSize> temp_para_system;
extern ParaBlock<kWorkSize> para_work;
extern ParaBlock<kCurSize> para_cur;
extern ParaBlock<kRunSize> para_run;
extern ParaBlock<kTestIoSize> para_test_io;
extern ParaBlock<kTestMotoSize> para_test_moto;
extern ParaBlock<kManagementSize> management;
extern ParaBlock<kMouthSpeedSize> run_mouth_speed;
extern ParaBlock<kConfigCheckSize> cfgcheck1;
extern ParaBlock<kConfigCheckSize> cfgcheck2;
extern ParaBlock<kCntImageSize> wave_cnt;

// The controller configuration read from Config.ini: 0-2 dark colour, 3 cam-board type,
// 4 and 5 option flags.
extern int ctro_config[6];

// Name of the current knitting job, empty at start.
extern QString strcurfilename;
