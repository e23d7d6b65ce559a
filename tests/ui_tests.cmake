# The Qt application's widget tests, in process on the offscreen platform, and the end-to-end
# tests of the built program under Xvfb. Without the Qt application there is nothing to test here.
if(NOT TARGET brzdomat_qt)
    return()
endif()
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


# The end-to-end scenarios need Xvfb, xdotool, xprop, ImageMagick, libjpeg's djpeg and faketime;
# without them they are not registered.
find_package(X11)
find_program(BRZDOMAT_XVFB Xvfb)
find_program(BRZDOMAT_XDOTOOL xdotool)
find_program(BRZDOMAT_XPROP xprop)
find_program(BRZDOMAT_IMPORT import)
find_program(BRZDOMAT_DJPEG djpeg)
find_program(BRZDOMAT_FAKETIME faketime)
if(X11_FOUND AND TARGET brzdomat_sample_pictures AND BRZDOMAT_XVFB AND BRZDOMAT_XDOTOOL
        AND BRZDOMAT_XPROP AND BRZDOMAT_IMPORT AND BRZDOMAT_DJPEG AND BRZDOMAT_FAKETIME)
    add_executable(brzdomat_e2e_close_window e2e/close_window.cpp)
    target_link_libraries(brzdomat_e2e_close_window PRIVATE X11::X11)
    foreach(scenario IN ITEMS layout whole_test early_end windows close clock keys)
        add_test(NAME ui_e2e_${scenario}
            COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_scenario ${scenario}
                $<TARGET_FILE:brzdomat> $<TARGET_FILE:brzdomat_sample_pictures>
                $<TARGET_FILE:brzdomat_e2e_close_window> ${CMAKE_CURRENT_BINARY_DIR}/e2e_pictures)
        # One at a time: they share the picture set, and a busy machine makes them slow.
        set_tests_properties(ui_e2e_${scenario} PROPERTIES TIMEOUT 180 RESOURCE_LOCK brzdomat_e2e
            LABELS e2e)
    endforeach()
endif()
