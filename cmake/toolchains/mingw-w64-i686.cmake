# Cross-compiles for i686 (32-bit) Windows with Debian's mingw-w64.
set(Q7N_MINGW_PROCESSOR i686)
set(Q7N_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
