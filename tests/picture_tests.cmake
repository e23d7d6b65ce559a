# The question pictures: path, loading through the surface, and the decoder checked against djpeg.

# Makes JPEG files from a formula; the tests of every area and the benchmarks may use it.
add_library(brzdomat_jpeg_maker STATIC testsupport/jpeg_maker.cpp)
target_include_directories(brzdomat_jpeg_maker PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(brzdomat_jpeg_maker PUBLIC JPEG::JPEG)
target_link_libraries(brzdomat_testsupport PUBLIC brzdomat_jpeg_maker)

if(CMAKE_CROSSCOMPILING AND WIN32)
    # The reference is the Windows djpeg.exe of the same libjpeg-turbo build as the library, run
    # under Wine, which shows the Linux root as drive Z:.
    get_filename_component(jpeg_root "${JPEG_INCLUDE_DIR}" DIRECTORY)
    find_program(BRZDOMAT_DJPEG djpeg.exe PATHS "${jpeg_root}/bin" NO_DEFAULT_PATH REQUIRED)
    set(djpeg_program "Z:${BRZDOMAT_DJPEG}")
else()
    find_program(BRZDOMAT_DJPEG djpeg REQUIRED)
    set(djpeg_program "${BRZDOMAT_DJPEG}")
endif()

add_executable(brzdomat_picture_tests
    picture_decoder_test.cpp
    picture_loading_test.cpp
)
target_compile_definitions(brzdomat_picture_tests PRIVATE DJPEG_PROGRAM="${djpeg_program}")
target_link_libraries(brzdomat_picture_tests
    PRIVATE brzdomat_bank brzdomat_testsupport brzdomat_jpeg_maker GTest::gtest_main)
gtest_discover_tests(brzdomat_picture_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# Writes the fuzzer's seed corpus: genuine pictures of every kind and the damaged ones above.
add_executable(brzdomat_picture_seeds fuzz/picture_seeds.cpp)
target_link_libraries(brzdomat_picture_seeds PRIVATE brzdomat_jpeg_maker)
add_test(NAME picture_seed_corpus
    COMMAND brzdomat_picture_seeds ${CMAKE_CURRENT_BINARY_DIR}/picture_seed_corpus)

if(BRZDOMAT_FUZZ)
    include(fuzz/picture_fuzz.cmake)
endif()
