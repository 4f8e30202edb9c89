# Cross toolchain for the arm64 panel computer (scripts/cross.sh arm64).
set(KNIT_TRIPLET aarch64-linux-gnu)
set(KNIT_PROCESSOR aarch64)
set(KNIT_QEMU qemu-aarch64)
set(KNIT_DEB_ARCHITECTURE arm64)
include(${CMAKE_CURRENT_LIST_DIR}/cross-linux.cmake)
