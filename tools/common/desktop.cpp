#include "tools/common/desktop.h"

#include <string>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#else
#include <spawn.h>

extern char** environ;
#endif

namespace brzdomat {

bool OpenWithViewer(const std::filesystem::path& file)
{
#ifdef _WIN32
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
#else
    // xdg-open may stay until the viewer closes; the child is left to end on its own.
    std::string path = file.string();
    char program[] = "xdg-open";
    char* arguments[] = { program, path.data(), nullptr };
    pid_t child = 0;
    return posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) == 0;
#endif
}

} // namespace brzdomat
