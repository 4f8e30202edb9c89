# Shared part of the cross toolchains (arm64.cmake, armhf.cmake): Debian multiarch, where the
# foreign architecture's libraries live beside the build machine's under /usr/lib/<triplet>.
# The including file sets KNIT_TRIPLET, KNIT_PROCESSOR, KNIT_QEMU and KNIT_DEB_ARCHITECTURE.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${KNIT_PROCESSOR})
set(CMAKE_C_COMPILER ${KNIT_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${KNIT_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${KNIT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# pkg-config reads the foreign architecture's .pc files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${KNIT_TRIPLET}/pkgconfig:/usr/share/pkgconfig)

# Qt's code generators (moc) are the build machine's.
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
  OUTPUT_VARIABLE knit_build_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${knit_build_multiarch}/cmake)

# Tests run under user-mode emulation; the foreign loader and libraries are installed by
# multiarch, so no binfmt set-up is needed.
set(CMAKE_CROSSCOMPILING_EMULATOR ${KNIT_QEMU})
