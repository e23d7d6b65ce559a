// brzdomat_dialog_texts TITLE: prints every text that the shown window titled TITLE shows in its
// controls, one a line: "whole" or "cut" (whether the text fits its control in the control's
// own font), the kind of control, and the text as shown. The distribution checks drive the
// installer by the keyboard and read with this which page it shows and what the page says.
// Trailing blanks of the title do not count: the installer's pages add one to it.
//
// Exit status: 0 with the report, 1 when no such window is shown (yet), 2 when the window did not
// answer.

#include "tests/windows/dialog_texts.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
    std::wstring Title;
    HWND Found = nullptr;
};

BOOL CALLBACK FindShown(HWND window, LPARAM searchAddress)
{
    auto& search = *reinterpret_cast<Search*>(searchAddress);
    if (!IsWindowVisible(window))
        return TRUE;
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
    title.erase(title.find_last_not_of(L' ') + 1);
    if (title != search.Title)
        return TRUE;
    search.Found = window;
    return FALSE;
}

// The hook's module lies beside this program.
std::wstring HookModule()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"brzdomat_dialog_texts_hook.dll";
}

int Fail(char const* what)
{
    std::fprintf(stderr, "brzdomat_dialog_texts: %s (error %lu)\n", what, GetLastError());
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: brzdomat_dialog_texts TITLE\n", stderr);
        return 2;
    }
    Search search { argv[1] };
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    if (!search.Found)
        return 1;

    HMODULE module = LoadLibraryW(HookModule().c_str());
    if (!module)
        return Fail("the hook's module did not load");
    auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DialogTextsHook")));
    DWORD helper = GetCurrentProcessId();
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
        brzdomat::DialogTextsSize, brzdomat::DialogTextsMapping(helper).c_str());
    if (!hook || !mapping)
        return Fail("no hook or no shared memory");
    auto* report = static_cast<char const*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    HHOOK installed = SetWindowsHookExW(
        WH_CALLWNDPROC, hook, module, GetWindowThreadProcessId(search.Found, nullptr));
    if (!report || !installed)
        return Fail("the hook could not be set");
    DWORD_PTR result = 0;
    // A page that is being built answers once it is done; a window that never answers is hung.
    bool answered
        = SendMessageTimeoutW(search.Found, RegisterWindowMessageW(brzdomat::DialogTextsMessage),
            helper, 0, SMTO_NORMAL, 30000, &result);
    UnhookWindowsHookEx(installed);
    if (!answered)
        return Fail("the window did not answer");
    if (!*report)
        return Fail("the window wrote no report");
    std::fwrite(report, 1, std::strlen(report), stdout);
    return 0;
}
