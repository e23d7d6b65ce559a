#include "bank/answer_key.h"

#include <stdexcept>
#include <string>

namespace brzdomat {

namespace {

// One row per test, one entry per question: the letters of the options marked "x".
// clang-format off
constexpr std::string_view CorrectOptions[TestCount][QuestionsPerTest] = {
    {"A", "B", "A", "A", "B", "CD", "AD", "BC", "ABCD", "ABCD", "A", "B", "D", "AD", "ABC", "A", "B", "B", "ABCD", "ACD", "A", "C", "C", "B", "D"}, // 1
    {"B", "A", "C", "ABC", "AB", "BD", "B", "AD", "ABCD", "ACD", "AC", "BC", "C", "ACD", "CD", "ABCD", "A", "BD", "ACD", "AB", "B", "ACD", "C", "ACD", "D"}, // 2
    {"BD", "D", "C", "C", "D", "BC", "BC", "BC", "B", "ABC", "AB", "BD", "B", "C", "BD", "AC", "C", "AD", "ABD", "A", "AD", "BC", "A", "B", "C"}, // 3
    {"B", "B", "D", "B", "A", "AB", "CD", "AD", "AD", "BD", "ABD", "CD", "A", "BCD", "BC", "BCD", "C", "C", "AC", "ABCD", "A", "A", "B", "A", "A"}, // 4
    {"C", "B", "B", "C", "CD", "AB", "BD", "B", "A", "A", "CD", "BC", "BD", "BD", "AC", "AB", "C", "BC", "ACD", "ACD", "BC", "ABD", "AD", "AD", "B"}, // 5
    {"B", "C", "C", "BCD", "B", "D", "BC", "BC", "D", "A", "AD", "CD", "C", "B", "ABCD", "CD", "C", "C", "A", "ABD", "C", "ABCD", "A", "ACD", "B"}, // 6
    {"B", "D", "A", "C", "B", "AD", "AB", "CD", "D", "A", "D", "C", "D", "AC", "B", "AC", "BC", "A", "AC", "AC", "B", "BC", "D", "ABCD", "C"}, // 7
    {"C", "A", "C", "C", "A", "B", "AB", "BC", "C", "A", "BD", "B", "C", "BD", "B", "ABCD", "D", "AC", "CD", "ACD", "D", "ABCD", "C", "ABC", "B"}, // 8
    {"D", "D", "B", "D", "D", "B", "D", "C", "CD", "A", "BCD", "A", "CD", "C", "ACD", "B", "CD", "ABD", "AC", "A", "AC", "ABCD", "B", "ABC", "C"}, // 9
    {"A", "B", "D", "B", "B", "ABC", "AD", "BC", "C", "B", "AB", "A", "AB", "C", "BC", "C", "ABD", "BCD", "A", "CD", "D", "ABCD", "BD", "AD", "C"}, // 10
    {"ABC", "C", "A", "AC", "B", "C", "B", "ABD", "A", "D", "D", "C", "CD", "B", "C", "A", "A", "BCD", "A", "D", "BCD", "ACD", "AC", "AD", "C"}, // 11
    {"C", "C", "C", "B", "C", "ABD", "B", "A", "CD", "C", "ABCD", "B", "BCD", "ACD", "AD", "D", "AD", "ABD", "D", "A", "D", "B", "D", "B", "C"}, // 12
    {"B", "C", "D", "A", "D", "AB", "ABC", "ABC", "C", "A", "BCD", "A", "ABD", "CD", "A", "AB", "BC", "BCD", "B", "A", "D", "A", "BCD", "ABD", "AB"}, // 13
    {"C", "A", "A", "B", "A", "D", "C", "ACD", "A", "BCD", "D", "C", "A", "A", "A", "BC", "CD", "ABCD", "C", "ACD", "A", "AD", "D", "ABCD", "C"}, // 14
    {"BCD", "A", "A", "C", "D", "C", "ABD", "B", "D", "ABD", "ABC", "A", "B", "ABCD", "B", "ACD", "A", "B", "A", "AB", "AB", "ACD", "D", "ABC", "B"}, // 15
    {"C", "C", "AC", "C", "B", "ABC", "AB", "ABCD", "AD", "C", "C", "C", "C", "B", "C", "AB", "C", "A", "B", "ABCD", "C", "ABCD", "A", "A", "C"}, // 16
    {"C", "D", "B", "A", "C", "D", "D", "BD", "B", "ABCD", "D", "BCD", "C", "D", "C", "AD", "AB", "ABCD", "A", "ABCD", "A", "ABC", "AB", "C", "A"}, // 17
    {"D", "A", "A", "B", "C", "AC", "C", "AC", "BC", "B", "C", "ABD", "D", "ABCD", "C", "A", "AC", "ACD", "B", "ABCD", "ACD", "ABC", "C", "A", "B"}, // 18
    {"B", "C", "B", "C", "C", "CD", "ABC", "BC", "D", "BC", "A", "BD", "AB", "CD", "BCD", "BCD", "D", "ACD", "A", "C", "C", "AD", "A", "ABD", "D"}, // 19
    {"AC", "A", "A", "C", "A", "BC", "CD", "AD", "B", "AC", "D", "AC", "D", "A", "C", "C", "B", "ABCD", "B", "A", "CD", "AD", "ACD", "ABD", "D"}, // 20
    {"B", "CD", "A", "A", "B", "C", "D", "BC", "C", "ABCD", "D", "D", "ACD", "BC", "BCD", "AD", "A", "C", "ACD", "ABD", "B", "B", "C", "ACD", "B"}, // 21
    {"A", "D", "B", "A", "A", "BC", "AC", "AD", "D", "D", "D", "C", "ABC", "B", "BC", "C", "BC", "A", "AB", "AB", "AD", "ABD", "CD", "ABC", "A"}, // 22
    {"B", "B", "B", "A", "B", "ABD", "CD", "BC", "ABC", "A", "C", "C", "ABC", "D", "A", "D", "B", "BD", "ABCD", "ABD", "AC", "ABCD", "C", "ABCD", "B"}, // 23
    {"C", "A", "A", "D", "A", "A", "C", "CD", "ACD", "C", "C", "ABC", "ABC", "A", "C", "C", "C", "ABCD", "ABCD", "AD", "BCD", "ABC", "ACD", "B", "B"}, // 24
    {"C", "D", "B", "A", "D", "ABC", "BC", "BD", "D", "C", "D", "BD", "BD", "C", "CD", "BD", "BD", "A", "ABCD", "ABD", "B", "A", "BC", "C", "C"}, // 25
    {"A", "B", "A", "C", "B", "ACD", "ABD", "BC", "C", "BD", "B", "BD", "A", "B", "AD", "D", "C", "C", "C", "ABCD", "B", "C", "A", "D", "C"}, // 26
    {"B", "A", "B", "A", "A", "B", "A", "AB", "AB", "B", "CD", "ABC", "C", "ABD", "D", "ABCD", "AB", "C", "A", "ABC", "A", "A", "ABD", "ABC", "C"}, // 27
    {"C", "B", "B", "D", "B", "ABCD", "ABC", "AB", "CD", "ABD", "C", "ACD", "ABC", "BC", "BD", "CD", "A", "D", "A", "ABD", "ABCD", "ABD", "B", "A", "C"}, // 28
    {"C", "A", "C", "B", "A", "BD", "ACD", "D", "AD", "BC", "A", "AC", "ABC", "AD", "C", "C", "C", "B", "AD", "ABD", "AC", "ABD", "A", "D", "C"}, // 29
    {"B", "C", "B", "A", "C", "AC", "B", "AD", "ABCD", "D", "B", "AC", "C", "ABC", "C", "B", "ABD", "ACD", "ABD", "AB", "B", "ACD", "ABCD", "C", "AB"}, // 30
    {"AB", "A", "B", "D", "C", "BC", "ABCD", "B", "B", "BD", "BD", "C", "ABC", "ABC", "C", "B", "C", "D", "ABCD", "ACD", "C", "ABC", "BC", "AC", "C"}, // 31
    {"D", "D", "C", "B", "D", "AD", "BD", "B", "D", "B", "C", "C", "B", "AB", "B", "A", "CD", "C", "ABC", "AB", "C", "ABCD", "ABCD", "D", "B"}, // 32
};
// clang-format on

} // namespace

std::string_view MarkText(AnswerMark mark)
{
    return mark == AnswerMark::X ? "x" : "";
}

AnswerMark AnswerKey::Mark(QuestionRef question, Option option) const
{
    auto optionIndex = static_cast<int>(option);
    if (question.Test < 1 || question.Test > TestCount || question.Question < 1
        || question.Question > QuestionsPerTest || optionIndex < 0 || optionIndex > 3)
        throw std::out_of_range("No answer key entry for test " + std::to_string(question.Test)
            + ", question " + std::to_string(question.Question) + ", option "
            + std::to_string(optionIndex + 1));
    return m_Marks[((question.Test - 1) * QuestionsPerTest + (question.Question - 1)) * 4
        + optionIndex];
}

void LoadAnswerKey(AnswerKey& key)
{
    std::size_t index = 0;
    for (const auto& test : CorrectOptions) {
        for (std::string_view letters : test) {
            for (char letter : std::string_view { "ABCD" })
                key.m_Marks[index++] = letters.find(letter) != std::string_view::npos
                    ? AnswerMark::X
                    : AnswerMark::Empty;
        }
    }
}

} // namespace brzdomat
