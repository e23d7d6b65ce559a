#include "testrun/text_to_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace brzdomat {
namespace {

struct Accepted {
    std::string Text;
    std::int32_t Value;
};

TEST(TextToInt, AcceptsEveryFormAtTheEdgeOfItsRule)
{
    const Accepted cases[] = {
        { "0", 0 },
        { "25", 25 },
        { "+7", 7 },
        { "-3", -3 },
        { "-0", 0 },
        { "007", 7 },
        { "   30", 30 },
        { "  -12", -12 },
        { "2147483647", 2147483647 },
        { "-2147483648", INT32_MIN },
        { "000000000002147483647", 2147483647 },
        { "$1F", 31 },
        { "x10", 16 },
        { "X10", 16 },
        { "0x1f", 31 },
        { "0XAbC", 0xabc },
        { "  $ff", 255 },
        { "$7FFFFFFF", 2147483647 },
        { "$80000000", INT32_MIN },
        { "$FFFFFFFF", -1 },
        { "0x00000001", 1 },
    };
    for (const auto& accepted : cases)
        EXPECT_EQ(TextToInt(accepted.Text), accepted.Value) << "'" << accepted.Text << "'";
}

TEST(TextToInt, RejectsWithTheTextInItsMessage)
{
    const std::string cases[] = {
        "",
        " ",
        "   ",
        "+",
        "-",
        "+-5",
        "$",
        "x",
        "0x",
        "0X",
        "30 ",
        "5 ",
        " 1 2",
        "abc",
        "1a",
        "2147483648",
        "-2147483649",
        "99999999999999999999",
        "$123456789",
        "$000000001",
        "0x100000000",
        "+$10",
        "-$10",
        "-0x1",
        "$-1",
        "1.5",
        "1e3",
        "\t5",
        "٣",
        "žluť",
    };
    for (const auto& text : cases) {
        try {
            TextToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& error) {
            EXPECT_EQ(std::string { error.what() }, "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(TextToInt, WritesPlainDecimalThatReadsBack)
{
    for (std::int32_t value : { 0, 1, -1, 65, INT32_MAX, INT32_MIN }) {
        EXPECT_EQ(TextToInt(IntToText(value)), value);
    }
    EXPECT_EQ(IntToText(7), "7");
    EXPECT_EQ(IntToText(-30), "-30");
}

} // namespace
} // namespace brzdomat
