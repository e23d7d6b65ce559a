// Starts a program, measures the time from starting it until its first top-level window is
// mapped on the X display, lets it sit idle for a while, and reads its peak resident memory.
// Both the program and its baseline are measured by this same probe.
//
// Usage: brzdomat_bench_process_probe IDLE-SECONDS PROGRAM [ARGUMENT...]
// Prints: first_window_ms=<milliseconds> peak_kb=<kilobytes> cpu_ms=<milliseconds>
// cpu_ms is the time the program's threads spent on a CPU until the window was mapped: its own
// work, which the X server's and the machine's pace spread far less than the time to the window.
// A program that ends or shows no window within a minute prints start_failed=<why> and fails the
// probe (exit code 1) instead of holding the whole benchmark: under Wine a start now and then
// never maps a window.

#include <X11/Xlib.h>

#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

long PeakKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Nanoseconds on a CPU, summed over the process's threads, as the scheduler counts them.
long long CpuNanoseconds(pid_t pid)
{
    long long sum = 0;
    std::error_code error;
    for (const auto& task :
        std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long onCpu = 0;
        if (schedstat >> onCpu)
            sum += onCpu;
    }
    return sum;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IDLE-SECONDS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    double idleSeconds = std::strtod(argv[1], nullptr);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    auto started = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    const auto deadline = started + std::chrono::minutes(1);
    bool shown = false;
    while (!shown) {
        while (!shown && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            shown = event.type == MapNotify && !event.xmap.override_redirect;
        }
        if (shown)
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::printf("start_failed=ended\n");
            return 1;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::printf("start_failed=no-window\n");
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return 1;
        }
        // Wakes for the next X event, or after 10 ms to look at the child and the clock.
        const int connection = ConnectionNumber(display);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        timeval pause { 0, 10000 };
        select(connection + 1, &readable, nullptr, nullptr, &pause);
    }
    auto mapped = std::chrono::steady_clock::now();
    const long long cpu = CpuNanoseconds(child);
    std::this_thread::sleep_for(std::chrono::duration<double>(idleSeconds));
    long peak = PeakKilobytes(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    std::printf("first_window_ms=%.1f peak_kb=%ld cpu_ms=%.1f\n",
        std::chrono::duration<double, std::milli>(mapped - started).count(), peak, cpu / 1e6);
    return 0;
}
