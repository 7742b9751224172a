# Shared settings of every Wertlauf target.

# Windows-1252 is the program's ANSI code page; sources are UTF-8.
set(WL_COMMON_OPTIONS
  -Wall -Wextra
  -finput-charset=UTF-8 -fexec-charset=CP1252
)
set(WL_COMMON_DEFINITIONS
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800
  NOMINMAX STRICT _USE_MATH_DEFINES
)

function(wl_target_defaults target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX,C>:${WL_COMMON_OPTIONS}>)
  target_compile_definitions(${target} PUBLIC ${WL_COMMON_DEFINITIONS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# wl_add_library(<name> SOURCES ... LINKS ...)
function(wl_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  if(NOT ARG_SOURCES)
    # A library folder without code yet still takes part in the link graph.
    add_library(${name} INTERFACE)
    target_compile_definitions(${name} INTERFACE ${WL_COMMON_DEFINITIONS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(ARG_LINKS)
      target_link_libraries(${name} INTERFACE ${ARG_LINKS})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  wl_target_defaults(${name})
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
endfunction()

# Output by which a test fails whatever its exit code: a report of Wine's heap checking, which
# tests/run.sh --heap-check turns on (the normal run keeps Wine silent).
set(WL_HEAP_REPORT ":heap:")

# wl_depend_on_resources(<script>...)
# windres reports no dependencies: resource scripts that include files under res/ (the program's scripts and
# artwork) are rebuilt whenever any of them changes.
function(wl_depend_on_resources)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*)
  set_source_files_properties(${ARGN} PROPERTIES OBJECT_DEPENDS "${inputs}")
endfunction()

# wl_add_gtest(<name> SOURCES ... LINKS ... RESOURCES ... [GUI] [RUN_SERIAL] [STARTS_WERTLAUF]
#              [RESOURCE_LOCK lock] [TIMEOUT s])
# Builds a GoogleTest executable that CTest runs through Wine, one CTest entry per test case.
# RUN_SERIAL: its test cases run while no other test runs (for tests that read the screen).
# STARTS_WERTLAUF: the tests start Wertlauf.exe, whose path they get as WL_WERTLAUF_EXE; it is built first.
# RESOURCE_LOCK: its test cases never run beside other tests holding the same lock.
function(wl_add_gtest name)
  cmake_parse_arguments(ARG "GUI;RUN_SERIAL;STARTS_WERTLAUF" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LINKS;RESOURCES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(properties)
  if(ARG_RUN_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  if(ARG_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  add_executable(${name} ${ARG_SOURCES} ${ARG_RESOURCES})
  wl_target_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} wl_gtest_main)
  if(ARG_STARTS_WERTLAUF)
    target_compile_definitions(${name} PRIVATE WL_WERTLAUF_EXE="$<TARGET_FILE:Wertlauf>")
    add_dependencies(${name} Wertlauf)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${name}" FAIL_REGULAR_EXPRESSION "${WL_HEAP_REPORT}" ${properties})
endfunction()

# wl_add_bench(<name> SOURCES ... LINKS ...)
function(wl_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  wl_target_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS})
endfunction()

# wl_add_folder_map_test(<name> <folder>): the CTest <name> fails when the README of <folder> (relative to the
# project) does not name every file of the folder, or names one that is gone (tools/check_folder_map.py).
function(wl_add_folder_map_test name folder)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    add_test(NAME ${name} COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/check_folder_map.py
             ${PROJECT_SOURCE_DIR}/${folder})
    set_tests_properties(${name} PROPERTIES LABELS layers TIMEOUT 60)
  endif()
endfunction()
