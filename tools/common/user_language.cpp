#include "tools/common/user_language.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace brzdomat {

namespace {

#ifndef _WIN32
std::string_view Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsCzech(std::string_view locale)
{
    return locale.substr(0, 2) == "cs"
        && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@');
}
#endif

} // namespace

Language UserLanguage()
{
#ifdef _WIN32
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CZECH ? Language::Czech
                                                                   : Language::English;
#else
    std::string_view locale;
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        locale = Variable(name);
        if (!locale.empty())
            break;
    }
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return Language::English;
    // LANGUAGE lists languages by preference, separated by colons. The first that the tools
    // speak decides; when none is, gettext would show its untranslated English.
    std::string_view preferred = Variable("LANGUAGE");
    if (preferred.empty())
        return IsCzech(locale) ? Language::Czech : Language::English;
    while (!preferred.empty()) {
        const std::string_view entry = preferred.substr(0, preferred.find(':'));
        if (IsCzech(entry))
            return Language::Czech;
        if (entry.substr(0, 2) == "en")
            return Language::English;
        preferred.remove_prefix(std::min(preferred.size(), entry.size() + 1));
    }
    return Language::English;
#endif
}

} // namespace brzdomat
