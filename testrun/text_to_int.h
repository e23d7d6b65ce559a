#pragma once

// Conversion of a label text or an input-box reply to a signed 32-bit integer, and back. The
// status labels are the only copy of the running test's counters, so this is how they are read.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brzdomat {

// A text that is not an integer. Its message is "'<text>' is not a valid integer value", the
// text standing byte for byte as it was given.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(std::string_view text);
};

// Leading blanks are skipped; then either an optional "+" or "-" with decimal digits, or, with
// no sign, one to eight hexadecimal digits after "$", "x", "X", "0x" or "0X", taken as a 32-bit
// pattern ("$FFFFFFFF" is -1). The whole text must be used up and a decimal value must lie in
// -2147483648..2147483647; anything else throws ConvertError.
std::int32_t TextToInt(std::string_view text);

// Plain decimal, as the labels show it.
std::string IntToText(std::int32_t value);

} // namespace brzdomat
