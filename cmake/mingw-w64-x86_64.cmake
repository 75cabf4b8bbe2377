# Cross-builds the Windows pieces (the Win32 CAD link, the Win32 stand-in and its test driver) with Debian's
# mingw-w64 (package g++-mingw-w64-x86-64). Use with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake and
# -DTIERMARK_WITH_QT=OFF -DTIERMARK_BUILD_TESTS=OFF.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TIERMARK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model gives the full <thread>/<mutex> of the standard library; GCC 12's win32 model
# lacks them.
find_program(TIERMARK_MINGW_CXX NAMES ${TIERMARK_MINGW_PREFIX}-g++-posix ${TIERMARK_MINGW_PREFIX}-g++ REQUIRED)
set(CMAKE_CXX_COMPILER ${TIERMARK_MINGW_CXX})
find_program(TIERMARK_MINGW_RC NAMES ${TIERMARK_MINGW_PREFIX}-windres)
if(TIERMARK_MINGW_RC)
    set(CMAKE_RC_COMPILER ${TIERMARK_MINGW_RC})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${TIERMARK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no libstdc++, libgcc or winpthread DLLs to ship beside them (or to find
# under Wine).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
