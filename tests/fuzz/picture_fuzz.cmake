# The picture fuzzer, built only with clang (libFuzzer):
#   CXX=clang++ cmake -S . -B build/fuzz -DBRZDOMAT_FUZZ=ON -DBRZDOMAT_SANITIZE=ON \
#       -DBRZDOMAT_BENCH=OFF
#   bash tests/fuzz/run-picture-fuzzer build/fuzz 25
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "BRZDOMAT_FUZZ needs clang++ (libFuzzer)")
endif()
add_executable(brzdomat_picture_fuzzer fuzz/picture_fuzzer.cpp)
target_compile_options(brzdomat_picture_fuzzer PRIVATE -fsanitize=fuzzer)
target_link_options(brzdomat_picture_fuzzer PRIVATE -fsanitize=fuzzer)
target_link_libraries(brzdomat_picture_fuzzer PRIVATE brzdomat_bank)
