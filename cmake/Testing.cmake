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
    set_tests_properties(${test_name} PROPERTIES LABELS "wine;${T_LABELS}"
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
  else()
    set_tests_properties(${test_name} PROPERTIES LABELS "native;${T_LABELS}")
  endif()
endfunction()
