# Cross toolchain: 64-bit Windows executables from Linux with MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)

find_program(WL_MINGW_CXX NAMES ${TOOLCHAIN_PREFIX}-g++-posix ${TOOLCHAIN_PREFIX}-g++ REQUIRED)
find_program(WL_MINGW_CC  NAMES ${TOOLCHAIN_PREFIX}-gcc-posix ${TOOLCHAIN_PREFIX}-gcc REQUIRED)
set(CMAKE_C_COMPILER   ${WL_MINGW_CC})
set(CMAKE_CXX_COMPILER ${WL_MINGW_CXX})
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
# The resource preprocessor reads texts such as "Game???/Info.html" literally; no trigraph warnings for them.
set(CMAKE_RC_FLAGS_INIT "--preprocessor-arg=-Wno-trigraphs")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Without -static the programs need libstdc++/libgcc/winpthread DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
