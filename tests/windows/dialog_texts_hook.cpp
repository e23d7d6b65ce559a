// The half of brzdomat_dialog_texts that runs inside the process of the window it reads. Only
// that process can ask a control for its font, and without the font nobody can tell whether a
// text fits its control: Windows loads a hook's module into the process whose thread it watches,
// and the hook answers a message of the helper's there, on the window's own thread.
//
// The report is one line a text: "whole" or "cut", the kind of control ("label", "button",
// "checked" or "unchecked" for a check box or a component, "field" for what the user edits or
// scrolls), and the text as the control shows it, its lines joined by blanks.

#include "tests/windows/dialog_texts.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

std::wstring WindowText(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassName(HWND control)
{
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

// The text as it is drawn: "&" marks the next letter's key and "&&" stands for one "&".
std::wstring WithoutKeyMarks(std::wstring const& text)
{
    std::wstring shown;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == L'&' && index + 1 < text.size())
            ++index;
        shown += text[index];
    }
    return shown;
}

// The size the control's own font needs for the text, wrapped at width where format says so.
SIZE TextSize(HWND control, std::wstring const& text, UINT format, int width)
{
    HDC context = GetDC(control);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(context, font) : nullptr;
    RECT bounds { 0, 0, width, 0 };
    DrawTextW(context, text.c_str(), -1, &bounds, format | DT_CALCRECT);
    if (previous)
        SelectObject(context, previous);
    ReleaseDC(control, context);
    return { bounds.right - bounds.left, bounds.bottom - bounds.top };
}

struct Shown {
    bool Fits = true;
    std::wstring Kind;
    std::wstring Text;
};

void Append(std::wstring& report, Shown const& shown)
{
    report += shown.Fits ? L"whole\t" : L"cut\t";
    report += shown.Kind + L'\t';
    bool lineBreak = false;
    for (wchar_t letter : shown.Text) {
        if (letter == L'\r' || letter == L'\n') {
            lineBreak = true;
            continue;
        }
        if (lineBreak)
            report += L' ';
        lineBreak = false;
        report += letter;
    }
    report += L'\n';
}

// A static control draws its text with DrawText, wrapping it at word breaks unless its style
// says otherwise, and clips what does not fit.
void AppendLabel(std::wstring& report, HWND control, RECT const& client)
{
    auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
        format |= DT_WORDBREAK;
        break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        format |= DT_SINGLELINE;
        break;
    default:
        return; // A picture or a frame.
    }
    std::wstring text = WindowText(control);
    if (text.empty())
        return;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_EDITCONTROL)
        format |= DT_EDITCONTROL;
    SIZE needed = TextSize(control, text, format, client.right);
    Append(report,
        { needed.cx <= client.right && needed.cy <= client.bottom, L"label",
            (style & SS_NOPREFIX) ? text : WithoutKeyMarks(text) });
}

// A button's text stands on one line unless the style allows more; a check box's starts after
// its box and half a digit's width of space, as the common controls draw it.
void AppendButton(std::wstring& report, HWND control, RECT const& client)
{
    auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    std::wstring text = WindowText(control);
    if (text.empty())
        return;
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    int width = client.right;
    std::wstring kind = L"button";
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        width -= 2 * GetSystemMetrics(SM_CXEDGE);
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        width
            -= GetSystemMetrics(SM_CXMENUCHECK) + TextSize(control, L"0", DT_SINGLELINE, 0).cx / 2;
        kind = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"checked" : L"unchecked";
        break;
    case BS_GROUPBOX:
        // The frame's title sits between two short pieces of the frame's top line.
        width -= 2 * TextSize(control, L"0", DT_SINGLELINE, 0).cx;
        kind = L"label";
        break;
    default:
        return;
    }
    SIZE needed = TextSize(control, text, format, width);
    Append(
        report, { needed.cx <= width && needed.cy <= client.bottom, kind, WithoutKeyMarks(text) });
}

// The installer's components: a tree whose items show their check boxes as state pictures, in
// the installer's order: not checked, checked, partly checked (a group), then not checked and
// checked for a component that cannot be changed. An item fits when the tree needs no scrolling
// to the side to show it.
void AppendTreeItems(std::wstring& report, HWND tree, HTREEITEM item, RECT const& client)
{
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[256] = {};
        TVITEMW data {};
        data.mask = TVIF_TEXT | TVIF_STATE;
        data.hItem = item;
        data.stateMask = TVIS_STATEIMAGEMASK;
        data.pszText = text;
        data.cchTextMax = 256;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        unsigned picture = (data.state & TVIS_STATEIMAGEMASK) >> 12;
        RECT bounds {};
        bool fits = TreeView_GetItemRect(tree, item, &bounds, TRUE) && bounds.left >= 0
            && bounds.right <= client.right;
        Append(report, { fits, picture % 3 == 2 ? L"checked" : L"unchecked", text });
        AppendTreeItems(report, tree, TreeView_GetChild(tree, item), client);
    }
}

BOOL CALLBACK AppendControl(HWND control, LPARAM reportAddress)
{
    auto& report = *reinterpret_cast<std::wstring*>(reportAddress);
    if (!IsWindowVisible(control))
        return TRUE;
    RECT client {};
    GetClientRect(control, &client);
    std::wstring name = ClassName(control);
    if (name == L"Static")
        AppendLabel(report, control, client);
    else if (name == L"Button")
        AppendButton(report, control, client);
    else if (name == WC_TREEVIEWW)
        AppendTreeItems(report, control, TreeView_GetRoot(control), client);
    else if (name == L"Edit" || name.starts_with(L"RichEdit")) {
        // A field scrolls; what it holds is shown, its first line for a long text.
        std::wstring text = WindowText(control);
        Append(report, { true, L"field", text.substr(0, text.find_first_of(L"\r\n")) });
    }
    return TRUE;
}

void WriteReport(HWND window, DWORD helper)
{
    std::wstring report;
    EnumChildWindows(window, AppendControl, reinterpret_cast<LPARAM>(&report));
    HANDLE mapping
        = OpenFileMappingW(FILE_MAP_WRITE, FALSE, brzdomat::DialogTextsMapping(helper).c_str());
    if (!mapping)
        return;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, brzdomat::DialogTextsSize)) {
        int length = WideCharToMultiByte(CP_UTF8, 0, report.c_str(),
            static_cast<int>(report.size()), static_cast<char*>(view),
            static_cast<int>(brzdomat::DialogTextsSize) - 1, nullptr, nullptr);
        static_cast<char*>(view)[length] = '\0';
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    DialogTextsHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        auto const& message = *reinterpret_cast<CWPSTRUCT const*>(lParam);
        static UINT const report = RegisterWindowMessageW(brzdomat::DialogTextsMessage);
        if (message.message == report)
            WriteReport(message.hwnd, static_cast<DWORD>(message.wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
