# Cross-build for 32-bit Windows (the shipped deliverables).
set(TESSEL_MINGW_TRIPLE i686-w64-mingw32)
set(TESSEL_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
