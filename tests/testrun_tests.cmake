# The test controller and its clock, driven on the recording surface.
add_executable(brzdomat_testrun_tests
    controller_fixture.cpp
    test_controller_test.cpp
    test_clock_test.cpp
    random_sequences_test.cpp
)
target_link_libraries(brzdomat_testrun_tests
    PRIVATE brzdomat_testrun brzdomat_testsupport JPEG::JPEG GTest::gtest_main)
gtest_discover_tests(brzdomat_testrun_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
