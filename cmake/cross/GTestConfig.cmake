# GoogleTest for a cross build: compiled from the sources Debian ships (googletest package), with
# the targets FindGTest would give (GTest::gtest, GTest::gtest_main, which its CMake defines).
if(NOT TARGET gtest)
    set(KAF_GOOGLETEST_SOURCE /usr/src/googletest/googletest)
    if(NOT EXISTS ${KAF_GOOGLETEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest's sources are missing (${KAF_GOOGLETEST_SOURCE}): "
                            "install the Debian package googletest")
    endif()
    add_subdirectory(${KAF_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
set(GTest_FOUND TRUE)
