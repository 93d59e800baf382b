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

# The release builds (win64-release, win32-release) are made smaller: every function and object in
# a section of its own, which the linker drops when nothing uses it, and -O2 for CMake's -O3. -Os
# made the program smaller still but the native port list editor's benchmark slower, and
# link-time optimisation stops Debian 12's mingw-w64 GCC 12 with an internal compiler error on
# this code. docs/WINDOWS.md gives the sizes. The compiler flags are cache entries, since CMake
# would append its own -O3 to an _INIT value.
set(Q7N_RELEASE_FLAGS "-O2 -DNDEBUG -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_RELEASE "${Q7N_RELEASE_FLAGS}" CACHE STRING "Flags of the Release build")
set(CMAKE_CXX_FLAGS_RELEASE "${Q7N_RELEASE_FLAGS}" CACHE STRING "Flags of the Release build")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-Wl,--gc-sections")
