# Cross-build of the same sources for 64-bit Windows. Used to run the Win32
# tests under a 64-bit-only Wine where the host cannot execute 32-bit code.
set(TESSEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(TESSEL_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
