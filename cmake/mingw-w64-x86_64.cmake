# Cross-builds Tiermark for Windows (x86_64) with Debian's mingw-w64 (packages g++-mingw-w64-x86-64-posix).
#
# The whole program, against the Windows dependencies of tools/windows/build-deps.sh (tools/windows/build.sh
# does this):
#   cmake -DCMAKE_TOOLCHAIN_FILE=<qt>/lib/cmake/Qt6/qt.toolchain.cmake \
#         -DQT_CHAINLOAD_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTIERMARK_WINDOWS_DEPS="<libmdb>;<dxflib>;<googletest>" -DTIERMARK_MINGW_RUNTIME=shared
# The Qt-free pieces alone (the CAD link, command composition):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTIERMARK_WITH_QT=OFF -DTIERMARK_BUILD_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TIERMARK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model gives the full <thread>/<mutex> of the standard library; GCC 12's win32 model
# lacks them. Qt was built with the same compiler.
find_program(TIERMARK_MINGW_CXX NAMES ${TIERMARK_MINGW_PREFIX}-g++-posix ${TIERMARK_MINGW_PREFIX}-g++ REQUIRED)
find_program(TIERMARK_MINGW_CC NAMES ${TIERMARK_MINGW_PREFIX}-gcc-posix ${TIERMARK_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TIERMARK_MINGW_CXX})
if(TIERMARK_MINGW_CC)
    set(CMAKE_C_COMPILER ${TIERMARK_MINGW_CC})
endif()
find_program(TIERMARK_MINGW_RC NAMES ${TIERMARK_MINGW_PREFIX}-windres)
if(TIERMARK_MINGW_RC)
    set(CMAKE_RC_COMPILER ${TIERMARK_MINGW_RC})
endif()

# The Windows dependencies' install prefixes are searched like the mingw-w64 system folder; pkg-config
# (libmdb) looks only there.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TIERMARK_MINGW_PREFIX} ${TIERMARK_WINDOWS_DEPS})
list(APPEND CMAKE_PREFIX_PATH ${TIERMARK_WINDOWS_DEPS})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(pkgconfig_dirs "")
foreach(prefix IN LISTS TIERMARK_WINDOWS_DEPS)
    list(APPEND pkgconfig_dirs "${prefix}/lib/pkgconfig")
endforeach()
list(JOIN pkgconfig_dirs ":" pkgconfig_dirs)
set(ENV{PKG_CONFIG_LIBDIR} "${pkgconfig_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TIERMARK_WINDOWS_DEPS TIERMARK_MINGW_RUNTIME)

# static (default): self-contained executables, no libstdc++, libgcc or winpthread DLLs beside them.
# shared: the runtime DLLs that the Qt DLLs use too, shipped beside the executables.
if(NOT TIERMARK_MINGW_RUNTIME STREQUAL "shared")
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
