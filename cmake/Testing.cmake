# GoogleTest for both trees. The native tree uses Debian's packaged library;
# the Windows tree builds it from Debian's sources with the cross compiler.
if(WIN32)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KX_GTEST gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(KX_GTEST GTest::gtest GTest::gtest_main)
endif()
include(GoogleTest)

# What every test under Wine runs with: the build's own prefix, quiet Wine,
# the folder of the pseudo-terminal pairs and the native tree's dynosim.
set(KX_DYNOSIM ${PROJECT_SOURCE_DIR}/build/native/bin/dynosim CACHE FILEPATH "dynosim of the native build")
set(KX_WINE_ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
set(KX_WINE_SCRIPT_ENVIRONMENT "${KX_WINE_ENVIRONMENT};KX_DYNOSIM=${KX_DYNOSIM};KX_PORT_STATE=${CMAKE_BINARY_DIR}/ports")

# kx_add_test(NAME SOURCES... LIBS ...): one GoogleTest program, registered
# with ctest as native.NAME or, in the Windows build, as wine.NAME (run
# through Wine with the build's own prefix).
function(kx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${KX_GTEST})
  if(WIN32)
    set(test_name wine.${name})
  else()
    set(test_name native.${name})
  endif()
  add_test(NAME ${test_name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(WIN32)
    set_tests_properties(${test_name} PROPERTIES LABELS "wine;${T_LABELS}" ENVIRONMENT "${KX_WINE_ENVIRONMENT}")
  else()
    set_tests_properties(${test_name} PROPERTIES LABELS "native;${T_LABELS}")
  endif()
endfunction()

# kx_add_wine_script_test(NAME SCRIPT script ARGS... [LABELS ...] [LOCKS ...]
#   [WORKING_DIRECTORY dir] [FIXTURES_REQUIRED ...] [FIXTURES_SETUP ...]):
# a test under Wine that a wrapper script runs (pseudo-terminals, dynosim,
# rendered pages), registered as wine.NAME with the environment of every Wine
# test; LOCKS are its ctest resource locks (desktop, printer).
function(kx_add_wine_script_test name)
  cmake_parse_arguments(T "" "SCRIPT;WORKING_DIRECTORY" "ARGS;LABELS;LOCKS;FIXTURES_REQUIRED;FIXTURES_SETUP" ${ARGN})
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_test(NAME wine.${name} COMMAND bash ${T_SCRIPT} ${T_ARGS} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
  set_tests_properties(wine.${name} PROPERTIES LABELS "wine;${T_LABELS}" ENVIRONMENT "${KX_WINE_SCRIPT_ENVIRONMENT}")
  foreach(property LOCKS FIXTURES_REQUIRED FIXTURES_SETUP)
    if(T_${property})
      set(key ${property})
      if(property STREQUAL LOCKS)
        set(key RESOURCE_LOCK)
      endif()
      set_tests_properties(wine.${name} PROPERTIES ${key} "${T_${property}}")
    endif()
  endforeach()
endfunction()
