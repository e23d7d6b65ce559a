# The sample picture set, the splash, About and program-information windows.
if(TARGET brzdomat_sample_cards)
    add_executable(brzdomat_windows_sample_tests windows_sample_pictures_test.cpp)
    target_link_libraries(brzdomat_windows_sample_tests PRIVATE brzdomat_sample_cards JPEG::JPEG GTest::gtest Qt6::Gui)
    target_compile_definitions(brzdomat_windows_sample_tests PRIVATE
        BRZDOMAT_SAMPLE_PICTURES_TOOL="$<TARGET_FILE:brzdomat_sample_pictures>")
    add_dependencies(brzdomat_windows_sample_tests brzdomat_sample_pictures)
    gtest_discover_tests(brzdomat_windows_sample_tests DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()

if(TARGET brzdomat_qt)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(brzdomat_windows_dialog_tests windows_dialogs_test.cpp)
    target_link_libraries(brzdomat_windows_dialog_tests PRIVATE brzdomat_qt JPEG::JPEG GTest::gtest Qt6::Test)
    gtest_discover_tests(brzdomat_windows_dialog_tests DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
