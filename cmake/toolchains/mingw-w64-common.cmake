# Cross-compiles for Windows with Debian's mingw-w64 (posix threads variant); the including
# toolchain file sets Q7N_MINGW_PROCESSOR and Q7N_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${Q7N_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${Q7N_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${Q7N_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${Q7N_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${Q7N_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 and later: the headers then declare nothing newer, so a function that Windows 7 lacks
# cannot be called by name by accident (a newer one is looked up with GetProcAddress where it is
# wanted: windowing/win32/DpiFunctions.h). For every target of the build, third-party ones and
# the resource scripts included.
set(Q7N_WINDOWS_VERSION_DEFINES "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_C_FLAGS_INIT "${Q7N_WINDOWS_VERSION_DEFINES}")
set(CMAKE_CXX_FLAGS_INIT "${Q7N_WINDOWS_VERSION_DEFINES}")
set(CMAKE_RC_FLAGS_INIT "${Q7N_WINDOWS_VERSION_DEFINES}")

# Link the compiler's runtime in, so that the programs run without the mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
