# GoogleTest for the MinGW-w64 cross build: the host's libraries are built for Linux, so the
# sources Debian ships (package googletest) are built here with the cross compiler.
set(QUARRIX_GTEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources to build for the cross build")
if(NOT EXISTS ${QUARRIX_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  set(GTest_NOT_FOUND_MESSAGE
      "no GoogleTest sources in ${QUARRIX_GTEST_SOURCE_DIR} (package googletest)")
  return()
endif()

if(NOT TARGET gtest)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # Its build makes the GTest::gtest, GTest::gtest_main and GTest::gmock targets itself.
  add_subdirectory(${QUARRIX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(_quarrix_gtest_target gtest gtest_main gmock gmock_main)
    target_compile_options(${_quarrix_gtest_target} PRIVATE -g0)
  endforeach()
endif()
set(GTest_FOUND TRUE)
