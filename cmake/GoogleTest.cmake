# Natively the distribution's GoogleTest; when cross-compiling, GoogleTest built from the distribution's
# sources (/usr/src/googletest) with the same toolchain.
if(CMAKE_CROSSCOMPILING)
  set(QUENYX_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources for cross builds")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${QUENYX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Like the tests themselves (tests/CMakeLists.txt), GoogleTest needs no more than -O1.
  target_compile_options(gtest PRIVATE -O1)
  target_compile_options(gtest_main PRIVATE -O1)
  # GoogleTest 1.11 and later define the namespaced targets themselves.
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# One GoogleTest executable's tests. Natively each case is its own ctest test, listed when the tests run.
# Under Wine the executable runs whole as one test: listing its cases would start Wine once more per case,
# and would be bounded by how fast a fresh Wine prefix starts.
function(quenyx_gtest target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT 900)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
