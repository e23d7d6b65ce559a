#pragma once

// The language the tools speak to their user: Czech for a Czech user, English for everyone
// else. It is read from what the system says of the user, never from the installed locales, so
// a Czech user is recognised even where no Czech locale has been generated.

#include <string_view>

namespace brzdomat {

enum class Language { English, Czech };

// On Windows the user's interface language. Elsewhere the locale variables as gettext reads
// them: the first set of LC_ALL, LC_MESSAGES and LANG names the locale, and unless that is "C"
// or "POSIX", LANGUAGE may name a preferred language before it.
Language UserLanguage();

// The text in the language; both are given at the call, so a message is read in one place.
constexpr std::string_view Say(Language language, std::string_view english, std::string_view czech)
{
    return language == Language::Czech ? czech : english;
}

// Czech nouns and adjectives after a number take one of three forms: 1, 2 to 4, and the rest.
constexpr std::string_view CzechCount(
    long long count, std::string_view one, std::string_view twoToFour, std::string_view many)
{
    if (count == 1)
        return one;
    return count >= 2 && count <= 4 ? twoToFour : many;
}

} // namespace brzdomat
