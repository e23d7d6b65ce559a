# The question pictures: path, loading through the surface, and the decoder checked against djpeg.

# Makes JPEG files from a formula; the tests of every area and the benchmarks may use it.
add_library(brzdomat_jpeg_maker STATIC testsupport/jpeg_maker.cpp)
target_include_directories(brzdomat_jpeg_maker PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brzdomat_jpeg_maker PUBLIC JPEG::JPEG)
target_link_libraries(brzdomat_testsupport PUBLIC brzdomat_jpeg_maker)

find_program(BRZDOMAT_DJPEG djpeg REQUIRED)

add_executable(brzdomat_picture_tests
    picture_decoder_test.cpp
    picture_loading_test.cpp
)
target_compile_definitions(brzdomat_picture_tests PRIVATE DJPEG_PROGRAM="${BRZDOMAT_DJPEG}")
target_link_libraries(brzdomat_picture_tests
    PRIVATE brzdomat_bank brzdomat_testsupport brzdomat_jpeg_maker GTest::gtest_main)
gtest_discover_tests(brzdomat_picture_tests DISCOVERY_MODE PRE_TEST)

# Writes the fuzzer's seed corpus: genuine pictures of every kind and the damaged ones above.
add_executable(brzdomat_picture_seeds fuzz/picture_seeds.cpp)
target_link_libraries(brzdomat_picture_seeds PRIVATE brzdomat_jpeg_maker)
add_test(NAME picture_seed_corpus
    COMMAND brzdomat_picture_seeds ${CMAKE_CURRENT_BINARY_DIR}/picture_seed_corpus)

if(BRZDOMAT_FUZZ)
    include(fuzz/picture_fuzz.cmake)
endif()

# The picture checker, against the program's loader on the same files.
add_executable(brzdomat_picture_check_tests picture_check_test.cpp)
target_compile_definitions(brzdomat_picture_check_tests PRIVATE
    BRZDOMAT_CHECK_PICTURES_TOOL="$<TARGET_FILE:brzdomat_check_pictures>")
add_dependencies(brzdomat_picture_check_tests brzdomat_check_pictures)
target_link_libraries(brzdomat_picture_check_tests
    PRIVATE brzdomat_picture_check brzdomat_testsupport GTest::gtest_main)
gtest_discover_tests(brzdomat_picture_check_tests DISCOVERY_MODE PRE_TEST)
