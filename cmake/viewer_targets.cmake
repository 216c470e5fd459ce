# Small helpers so that each library, program and test is declared in a few lines.

# viewer_library(NAME [QT] SOURCES a.cpp b.cpp DEPS lib...)
# QT runs Qt's moc over the sources (only the platform/qt libraries need it).
function(viewer_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# viewer_test(NAME [QT] SOURCES a_test.cpp DEPS lib... [LABEL core|gui|e2e] [ENV VAR=value...])
# Core tests exercise the logic libraries only and are run once more under the sanitizers.
function(viewer_test name)
  cmake_parse_arguments(ARG "QT" "LABEL" "SOURCES;DEPS;ENV" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL core)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  target_compile_definitions(${name} PRIVATE
    TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# viewer_bench(NAME SOURCES a.cpp DEPS lib...)
function(viewer_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# viewer_sessions(PROGRAM target FOLDER dir FIXTURES dir)
# One test per FOLDER/NAME.script: the program runs it in a fresh copy of FIXTURES and its
# standard output must equal NAME.expected (exit status NAME.status when that file exists,
# else 0). Labelled e2e.
function(viewer_sessions)
  cmake_parse_arguments(ARG "" "PROGRAM;FOLDER;FIXTURES" "" ${ARGN})
  file(GLOB scripts CONFIGURE_DEPENDS "${ARG_FOLDER}/*.script")
  foreach(script IN LISTS scripts)
    get_filename_component(name "${script}" NAME_WE)
    get_filename_component(dir "${script}" DIRECTORY)
    set(status 0)
    if(EXISTS "${dir}/${name}.status")
      file(STRINGS "${dir}/${name}.status" status LIMIT_COUNT 1)
    endif()
    add_test(NAME ${ARG_PROGRAM}.session.${name}
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${ARG_PROGRAM}> -DSCRIPT=${script}
        -DEXPECTED=${dir}/${name}.expected -DFIXTURES=${ARG_FIXTURES}
        -DWORKDIR=${CMAKE_CURRENT_BINARY_DIR}/sessions/${name} -DSTATUS=${status}
        -P ${PROJECT_SOURCE_DIR}/cmake/run_session.cmake)
    set_tests_properties(${ARG_PROGRAM}.session.${name} PROPERTIES LABELS e2e
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/sessions")
  endforeach()
endfunction()
