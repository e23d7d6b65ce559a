#pragma once

#include <string>

namespace brzdomat {

// What brzdomat_dialog_texts and its hook, in the window's process, agree on: the message that
// asks for the report, with the helper's process id as its first parameter, and the shared
// memory, named after that id, that the report is written into.
inline constexpr wchar_t DialogTextsMessage[] = L"BrzdomatDialogTexts";
inline constexpr unsigned long DialogTextsSize = 1 << 20;

inline std::wstring DialogTextsMapping(unsigned long helper)
{
    return L"BrzdomatDialogTexts." + std::to_wstring(helper);
}

} // namespace brzdomat
