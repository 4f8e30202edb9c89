# Cross toolchain for the 32-bit armhf panel computer (scripts/cross.sh armhf).
set(KNIT_TRIPLET arm-linux-gnueabihf)
set(KNIT_PROCESSOR arm)
set(KNIT_QEMU qemu-arm)
set(KNIT_DEB_ARCHITECTURE armhf)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux.cmake)
