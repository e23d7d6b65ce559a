# The application's benchmarks: in process inside brzdomat_bench, and a script that starts the
# program and a minimal Qt program as separate processes under Xvfb for start-up time and peak
# memory.
if(TARGET brzdomat_bench AND TARGET brzdomat_qt)
    target_sources(brzdomat_bench PRIVATE ui_bench.cpp)
    target_link_libraries(brzdomat_bench PRIVATE brzdomat_qt)

    add_executable(brzdomat_bench_minimal_window ui_minimal_window.cpp)
    target_link_libraries(brzdomat_bench_minimal_window PRIVATE Qt6::Widgets)
    find_package(X11)
    if(X11_FOUND)
        add_executable(brzdomat_bench_process_probe ui_process_probe.cpp)
        target_link_libraries(brzdomat_bench_process_probe PRIVATE X11::X11)
    endif()
endif()
