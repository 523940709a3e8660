# What a Windows build of the program needs beside its .exe files to run, in the build folder and
# when installed: Qt's DLLs, the plugins the program uses (the platform, the image formats, the
# Windows style), and the MinGW runtime DLLs that Qt's DLLs and the programs share.
#
# Every program of a Windows build goes into one folder, bin/ of the build folder, with these files
# beside it, so that a test or a program runs there as it does installed (no PATH, no qt.conf: Qt
# finds its plugins in the program's own folder). windeployqt is not part of a cross build, so the
# files are named here.
#
# Without Qt (QUILL_BUILD_UI=OFF) nothing needs the shared runtime, and the programs are linked
# statically so that each .exe runs on its own.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(NOT QUILL_BUILD_UI)
    add_link_options(-static)
    return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)

# The MinGW runtime as the compiler finds it: the C++ library, the GCC support library with its
# exception unwinding, and the POSIX threads the -posix compilers build on.
set(QUILL_MINGW_RUNTIME_DLLS "")
if(MINGW)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
            message(FATAL_ERROR "The MinGW runtime ${dll} was not found beside ${CMAKE_CXX_COMPILER}")
        endif()
        get_filename_component(found "${found}" REALPATH)
        list(APPEND QUILL_MINGW_RUNTIME_DLLS "${found}")
    endforeach()
endif()

# The plugins: target, then the folder it goes into beside the program.
set(QUILL_QT_PLUGINS
    Qt6::QWindowsIntegrationPlugin platforms
    Qt6::QJpegPlugin imageformats
    Qt6::QGifPlugin imageformats
    Qt6::QICOPlugin imageformats
    Qt6::QWindowsVistaStylePlugin styles)
# Only for the tests: the offscreen platform they run on, and Qt's test library.
set(QUILL_QT_TEST_PLUGINS Qt6::QOffscreenIntegrationPlugin platforms)

set(copies "")
set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(dll ${QUILL_MINGW_RUNTIME_DLLS})
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dll} ${bin}/)
    install(FILES ${dll} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
foreach(module Core Gui Widgets)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::${module}> ${bin}/)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
set(plugins ${QUILL_QT_PLUGINS})
while(plugins)
    list(POP_FRONT plugins target folder)
    if(NOT TARGET ${target})
        message(FATAL_ERROR "This Qt for Windows has no ${target}: see README.md, Windows")
    endif()
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${bin}/${folder}/)
    install(FILES $<TARGET_FILE:${target}> DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
endwhile()
set(plugins ${QUILL_QT_TEST_PLUGINS})
while(plugins)
    list(POP_FRONT plugins target folder)
    if(TARGET ${target})
        list(APPEND copies COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${folder}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${bin}/${folder}/)
    endif()
endwhile()
if(QUILL_BUILD_TESTS)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::Test> ${bin}/)
endif()

# Built with every build, before anything is started from bin/.
add_custom_target(quill_windows_runtime ALL ${copies}
    COMMENT "Copying Qt and the MinGW runtime beside the programs")

# The program's icon, version and manifest (high-DPI, UTF-8 as its code page, long paths), linked
# into korvoscreenquill.exe by quill_windows_program().
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/korvoscreenquill.rc.in
    ${CMAKE_BINARY_DIR}/packaging/korvoscreenquill.rc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/korvoscreenquill.manifest
    ${CMAKE_BINARY_DIR}/packaging/korvoscreenquill.manifest COPYONLY)

# Makes a target a windowed Windows program of this build: no console of its own, its resources,
# and the runtime beside it before it is run.
function(quill_windows_program target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/packaging/korvoscreenquill.rc)
    add_dependencies(${target} quill_windows_runtime)
endfunction()
