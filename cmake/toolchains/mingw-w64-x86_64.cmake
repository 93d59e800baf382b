# Cross-compiles for x86_64 Windows with Debian's mingw-w64.
set(Q7N_MINGW_PROCESSOR x86_64)
set(Q7N_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
