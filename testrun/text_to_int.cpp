#include "testrun/text_to_int.h"

#include <optional>

namespace brzdomat {

ConvertError::ConvertError(std::string_view text)
    : std::runtime_error("'" + std::string { text } + "' is not a valid integer value")
{
}

namespace {

std::optional<int> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t pattern = 0;
    for (char c : digits) {
        auto digit = HexDigit(c);
        if (!digit)
            return std::nullopt;
        pattern = (pattern << 4) | static_cast<std::uint32_t>(*digit);
    }
    return static_cast<std::int32_t>(pattern);
}

std::optional<std::int32_t> ParseDecimal(std::string_view rest)
{
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return std::nullopt;
    // Magnitude kept in 64 bits and capped just past the range, so any number of digits
    // (leading zeros included) is judged by its value, never by overflow.
    constexpr std::int64_t limit = std::int64_t { 1 } << 31;
    std::int64_t magnitude = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    if (magnitude == limit)
        return std::nullopt;
    return static_cast<std::int32_t>(magnitude);
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
