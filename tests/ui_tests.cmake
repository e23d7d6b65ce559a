# The Qt application's widget tests, in process on the offscreen platform, and the end-to-end
# tests of the built program under Xvfb.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(brzdomat_ui_tests
    ui_qt_main_test.cpp
    ui_surface_test.cpp
    ui_main_window_test.cpp
    ui_application_test.cpp
)
target_link_libraries(brzdomat_ui_tests PRIVATE brzdomat_qt Qt6::Test GTest::gtest)
gtest_discover_tests(brzdomat_ui_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

