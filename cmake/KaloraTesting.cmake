# GoogleTest, built from Debian's sources so that the cross targets get their own copy.
enable_testing()

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Tests that run Windows programs share one wineserver, started by the fixture below.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine_server_start COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-server.sh start)
  add_test(NAME wine_server_stop COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-server.sh stop)
  set(KALORA_WINE_ENV "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${KALORA_WINE_ENV}")
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${KALORA_WINE_ENV}")
endif()

# kalora_add_test_executable(name SOURCES... LINKS ...): one test program per layer, one
# process per program (a Wine start costs seconds, so cases are grouped, not split).
function(kalora_add_test_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE kalora_options GTest::gtest_main GTest::gmock ${ARG_LINKS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    KALORA_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
    KALORA_PARADOX_SAMPLES="${PROJECT_SOURCE_DIR}/tests/fixtures/paradox/samples")
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()  # built, not run: this machine cannot run the target's programs
  endif()
  add_test(NAME ${name} COMMAND ${name})
  kalora_test_environment(${name})
endfunction()

# Environment every test gets: the Wine prefix of the build folder and the shared wineserver.
function(kalora_test_environment test)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine
      ENVIRONMENT "${KALORA_WINE_ENV};WINEDLLOVERRIDES=mscoree,mshtml=;WINEDEBUG=-all")
  endif()
endfunction()

# kalora_add_import_check(target DLL...): on Windows builds, a test that reads the program's
# import table and fails when it needs a DLL outside the list (the mingw runtime, say).
function(kalora_add_import_check target)
  if(NOT WIN32)
    return()
  endif()
  add_test(NAME ${target}_imports
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/check-imports.sh ${CMAKE_SYSTEM_PROCESSOR}
      $<TARGET_FILE:${target}> ${ARGN})
endfunction()
