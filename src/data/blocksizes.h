#pragma once

#include "paramblock.h"

// The sizes of the parameter blocks and of the program image (MachineData holds them).
constexpr std::size_t kSystemSize = 404;
constexpr std::size_t kWorkSize = 1556;
constexpr std::size_t kCurSize = 292;
constexpr std::size_t kRunSize = 4;
constexpr std::size_t kTestIoSize = 80;
constexpr std::size_t kTestMotoSize = 92;
constexpr std::size_t kManagementSize = 8;
constexpr std::size_t kCarrierSpeedSize = 1280;
constexpr std::size_t kConfigCheckSize = 200;
constexpr std::size_t kCntImageSize = 1024 * 1024;
