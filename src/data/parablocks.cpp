#include "parablocks.h"

ParaBlock<kSystemSize> para_system;
ParaBlock<kSystemSize> temp_para_system;
ParaBlock<kWorkSize> para_work;
ParaBlock<kCurSize> para_cur;
ParaBlock<kRunSize> para_run;
ParaBlock<kTestIoSize> para_test_io;
ParaBlock<kTestMotoSize> para_test_moto;
ParaBlock<kManagementSize> management;
ParaBlock<kMouthSpeedSize> run_mouth_speed;
ParaBlock<kConfigCheckSize> cfgcheck1;
ParaBlock<kConfigCheckSize> cfgcheck2;
ParaBlock<kCntImageSize> wave_cnt;

int ctro_config[6] = {85, 0, 255, 0, 0, 0};

QString strcurfilename;
