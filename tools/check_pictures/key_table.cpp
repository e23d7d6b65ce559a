#include "tools/check_pictures/key_table.h"

#include <algorithm>
#include <utility>

namespace brzdomat {

namespace {

// The widest entry is "ABCD"; one blank separates it from its left neighbour.
constexpr int ColumnWidth = 5;
constexpr int FirstHalf = 13;

std::string RightAligned(std::string_view text, int width)
{
    return std::string(
               static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), ' ')
        + std::string(text);
}

} // namespace

std::string CorrectLetters(const AnswerKey& key, QuestionRef question, std::string_view separator)
{
    std::string letters;
    for (const Option option : AllOptions) {
        if (key.Mark(question, option) != AnswerMark::X)
            continue;
        if (!letters.empty())
            letters += separator;
        letters += static_cast<char>('A' + static_cast<int>(option));
    }
    return letters;
}

std::string AnswerKeyTable(Language language)
{
    AnswerKey key;
    LoadAnswerKey(key);
    constexpr std::string_view test = "Test";
    std::string table(Say(language,
        "The correct answers of every question by the program's answer key.\n"
        "Rows are the tests 1 to 32, columns their questions.\n",
        "Správné odpovědi všech otázek podle klíče programu.\n"
        "Řádky jsou testy 1 až 32, sloupce jejich otázky.\n"));
    for (const auto& [first, last] :
        { std::pair { 1, FirstHalf }, std::pair { FirstHalf + 1, QuestionsPerTest } }) {
        table += "\n" + std::string(test);
        for (int question = first; question <= last; ++question)
            table += RightAligned(std::to_string(question), ColumnWidth);
        table += "\n";
        for (int number = 1; number <= TestCount; ++number) {
            table += RightAligned(std::to_string(number), static_cast<int>(test.size()));
            for (int question = first; question <= last; ++question)
                table += RightAligned(CorrectLetters(key, { number, question }), ColumnWidth);
            table += "\n";
        }
    }
    return table;
}

} // namespace brzdomat
