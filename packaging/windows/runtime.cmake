# The Windows program folder: the programs, Qt's DLLs and the plug-ins they load, libmdb, the mingw-w64
# runtime DLLs, qt.conf, the sample database and the user guide, all installed flat into one folder (the
# installer's per-user program folder). The same DLLs and plug-ins are copied into the build tree's bin/
# folder, so that the programs and test suites run from there too (under Wine).

# mingw-w64's runtime, which the Qt DLLs and the programs share.
set(runtime_dlls "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE path
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The mingw-w64 runtime DLL ${dll} is not where ${CMAKE_CXX_COMPILER} says")
    endif()
    list(APPEND runtime_dlls "${path}")
endforeach()

# libmdb, from the Windows dependencies (tools/windows/build-deps.sh).
set(hints "")
foreach(prefix IN LISTS TIERMARK_WINDOWS_DEPS)
    list(APPEND hints "${prefix}/bin")
endforeach()
find_file(TIERMARK_LIBMDB_DLL libmdb.dll HINTS ${hints} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
list(APPEND runtime_dlls "${TIERMARK_LIBMDB_DLL}")

set(qt_dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
# The windows platform for the desktop, offscreen for runs without one, the native look of the widgets.
set(platform_plugins $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>)
set(style_plugins $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

add_custom_target(windows_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/platforms ${CMAKE_BINARY_DIR}/bin/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime_dlls} ${qt_dlls}
            ${CMAKE_CURRENT_SOURCE_DIR}/windows/qt.conf ${CMAKE_BINARY_DIR}/bin/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platform_plugins} ${CMAKE_BINARY_DIR}/bin/platforms/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${style_plugins} ${CMAKE_BINARY_DIR}/bin/styles/
    COMMENT "Copying the Qt, libmdb and mingw-w64 runtime DLLs into bin/"
    VERBATIM)

install(FILES ${runtime_dlls} ${qt_dlls} windows/qt.conf DESTINATION .)
install(FILES ${platform_plugins} DESTINATION platforms)
install(FILES ${style_plugins} DESTINATION styles)
install(FILES windows/user-guide.html DESTINATION .)
# Debugging information stays in the build tree; the installed programs are stripped (cmake --install
# --strip).

# The sample database (and the benchmarks' larger one) is written at build time by tiermark-mdbwrite.exe
# under the emulator (Wine), which needs the runtime DLLs beside it.
foreach(database sample_mdb bench_db_database)
    if(TARGET ${database})
        add_dependencies(${database} windows_runtime)
    endif()
endforeach()
