# brzdomat_bench: one program for every benchmark of the project. Other areas add their sources
# with target_sources(brzdomat_bench PRIVATE ...) from their own bench/*.cmake file, and register
# their comparisons with brzdomat::bench::CompareWithBaseline (bench/bench_compare.h).
add_executable(brzdomat_bench
    bench_main.cpp
    picture_bench.cpp
    plain_decode.cpp
)
target_include_directories(brzdomat_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brzdomat_bench PRIVATE brzdomat_bank brzdomat_jpeg_maker benchmark::benchmark JPEG::JPEG)

# One picture load a process, for CPU time and peak memory of large and hostile files;
# bench/picture_limits_bench runs it on every kind beside a plain libjpeg decode.
add_executable(brzdomat_picture_probe picture_probe.cpp plain_decode.cpp)
target_include_directories(brzdomat_picture_probe PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brzdomat_picture_probe PRIVATE brzdomat_bank brzdomat_jpeg_maker JPEG::JPEG)
