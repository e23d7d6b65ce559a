# Checks of what is installed and packaged: the Windows resource script, the desktop entry, the
# AppStream metainfo and the installed file tree.

add_executable(brzdomat_package_tests
    package_resource_script.cpp
    package_resource_script_test.cpp
)
target_include_directories(brzdomat_package_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(brzdomat_package_tests PRIVATE
    BRZDOMAT_PACKAGING_DIR="${PROJECT_SOURCE_DIR}/packaging")
target_link_libraries(brzdomat_package_tests PRIVATE GTest::gtest_main)
set_target_properties(brzdomat_package_tests PROPERTIES AUTOMOC OFF)
gtest_discover_tests(brzdomat_package_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

set(brzdomat_package_dir ${PROJECT_SOURCE_DIR}/packaging)

# A real resource compiler, where one is installed, proves the script compiles with its icon.
# llvm-rc also takes options after "/", so an absolute input path such as /ci/... would be read
# as the option /C; the script is named relative to its own folder.
find_program(BRZDOMAT_LLVM_RC NAMES llvm-rc llvm-rc-14)
if(BRZDOMAT_LLVM_RC)
    add_test(NAME package_resource_script_compiles
        COMMAND ${BRZDOMAT_LLVM_RC} -no-preprocess -fo ${CMAKE_CURRENT_BINARY_DIR}/brzdomat.res brzdomat.rc
        WORKING_DIRECTORY ${brzdomat_package_dir}/windows)
endif()

find_program(BRZDOMAT_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(BRZDOMAT_DESKTOP_FILE_VALIDATE)
    add_test(NAME package_desktop_entry_valid
        COMMAND ${BRZDOMAT_DESKTOP_FILE_VALIDATE}
            ${brzdomat_package_dir}/linux/example.brzdomat.Brzdomat.desktop)
    # The validator prints hints without failing; they are kept out as well.
    set_tests_properties(package_desktop_entry_valid PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning|hint")
endif()

find_program(BRZDOMAT_APPSTREAMCLI appstreamcli)
if(BRZDOMAT_APPSTREAMCLI)
    add_test(NAME package_metainfo_valid
        COMMAND ${BRZDOMAT_APPSTREAMCLI} validate --no-net
            ${brzdomat_package_dir}/linux/example.brzdomat.Brzdomat.metainfo.xml)
endif()

if(TARGET brzdomat)
    add_test(NAME package_install_tree
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_install_test.sh
            ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/package_install_root)
endif()

find_program(BRZDOMAT_IMAGEMAGICK_COMPARE compare)
if(BRZDOMAT_IMAGEMAGICK_COMPARE)
    add_test(NAME package_icons_match_drawing
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_icon_test.sh
            ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/package_icon_drawing)
endif()
