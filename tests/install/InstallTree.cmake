# Installs the build into PREFIX and uses the installed program as a person would: every file
# in its place, --help as the manual page says, and a batch run of an installed example.
# Run with: cmake -DBUILD_DIR=... -DPREFIX=... -P InstallTree.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(file bin/probex share/probex/help/index.html share/probex/examples/beam.pxw
             share/probex/examples/snow.dis share/applications/probex.desktop
             share/mime/packages/probex.xml share/icons/hicolor/scalable/apps/probex.svg
             share/man/man1/probex.1)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# The program runs from its installed place on an installed example (with a histogram file
# beside it); its settings come from a writable folder of the test's own.
set(home "${PREFIX}/home")
file(MAKE_DIRECTORY "${home}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${home} XDG_CONFIG_HOME=${home}/.config
        "${PREFIX}/bin/probex" --batch "${PREFIX}/share/probex/examples/snow-load.pxw"
        --steps 200 --seed 1
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "\nQ\t200\t")
    message(FATAL_ERROR "installed batch run failed (${result}):\n${out}\n${err}")
endif()

# The PDF report needs the window module, installed under lib/ and found from bin/.
file(GLOB_RECURSE module "${PREFIX}/lib*/probex/probex-desktop.so")
if(NOT module)
    message(FATAL_ERROR "not installed: the window module lib/probex/probex-desktop.so")
endif()
set(report "${home}/beam.pdf")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${home} XDG_CONFIG_HOME=${home}/.config
        "${PREFIX}/bin/probex" --batch "${PREFIX}/share/probex/examples/beam.pxw"
        --steps 100 --seed 1 --report "${report}"
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT EXISTS "${report}")
    message(FATAL_ERROR "installed report failed (${result}):\n${err}")
endif()

# The Python module lies where Debian's python3 looks, and finds the window module from there.
if(PYTHON)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env PYTHONPATH=${PREFIX}/${PYTHON_DIR} "${PYTHON}" -c
            "import probex; p = probex.Project.open('${PREFIX}/share/probex/examples/beam.pxw'); p.run(steps=100, seed=1).report('${home}/python.pdf')"
        RESULT_VARIABLE result ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT EXISTS "${home}/python.pdf")
        message(FATAL_ERROR "the installed Python module failed (${result}):\n${err}")
    endif()
endif()

# Without its module the program still runs batch projects, and says why a report or the window
# cannot be had.
file(REMOVE "${module}" "${report}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${home} XDG_CONFIG_HOME=${home}/.config
        "${PREFIX}/bin/probex" --batch "${PREFIX}/share/probex/examples/beam.pxw"
        --steps 100 --seed 1 --report "${report}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT out MATCHES "\nS\t100\t" OR NOT err MATCHES "cannot load the window module"
   OR result EQUAL 0)
    message(FATAL_ERROR "a report without the module (${result}):\n${out}\n${err}")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${home} QT_QPA_PLATFORM=offscreen
        "${PREFIX}/bin/probex" RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 2 OR NOT err MATCHES "error: cannot load the window module")
    message(FATAL_ERROR "the window without the module (${result}):\n${err}")
endif()

execute_process(COMMAND "${PREFIX}/bin/probex" --help RESULT_VARIABLE result OUTPUT_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out MATCHES "probex --batch PROJECT.pxw")
    message(FATAL_ERROR "installed --help failed (${result}):\n${out}")
endif()

# Where shared-mime-info is present, its own tool reads our MIME file into the prefix.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
    execute_process(COMMAND "${UPDATE_MIME}" "${PREFIX}/share/mime" RESULT_VARIABLE result
                    ERROR_VARIABLE err)
    file(READ "${PREFIX}/share/mime/globs2" globs)
    if(NOT result EQUAL 0 OR NOT globs MATCHES "application/x-probex-project:\\*\\.pxw")
        message(FATAL_ERROR "update-mime-database did not take the MIME type: ${err}")
    endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
