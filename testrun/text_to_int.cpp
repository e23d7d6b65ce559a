#include "testrun/text_to_int.h"

#include <charconv>
#include <optional>
#include <system_error>

namespace brzdomat {

ConvertError::ConvertError(std::string_view text)
    : std::runtime_error("'" + std::string { text } + "' is not a valid integer value")
{
}

namespace {

// The digits of an unsigned number in the base, all of them and nothing else.
std::optional<std::uint32_t> ParseDigits(std::string_view digits, int base)
{
    std::uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || error != std::errc {} || stop != end)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.size() > 8)
        return std::nullopt;
    auto pattern = ParseDigits(digits, 16);
    if (!pattern)
        return std::nullopt;
    return static_cast<std::int32_t>(*pattern);
}

std::optional<std::int32_t> ParseDecimal(std::string_view rest)
{
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Unsigned, so that a second sign is refused; leading zeros do not count towards the range,
    // which is judged by value.
    auto magnitude = ParseDigits(rest, 10);
    constexpr std::uint32_t limit = std::uint32_t { 1 } << 31;
    if (!magnitude || *magnitude > limit || (*magnitude == limit && !negative))
        return std::nullopt;
    std::int64_t value = negative ? -std::int64_t { *magnitude } : std::int64_t { *magnitude };
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t TextToInt(std::string_view text)
{
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);

    std::optional<std::int32_t> value;
    if (rest.starts_with("0x") || rest.starts_with("0X"))
        value = ParseHex(rest.substr(2));
    else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X'))
        value = ParseHex(rest.substr(1));
    else
        value = ParseDecimal(rest);

    if (!value)
        throw ConvertError(text);
    return *value;
}

std::string IntToText(std::int32_t value)
{
    return std::to_string(value);
}

} // namespace brzdomat
