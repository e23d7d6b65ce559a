#include "bank/answer_key.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

namespace brzdomat {
namespace {

std::string Letters(const AnswerKey& key, QuestionRef question)
{
    std::string letters;
    for (Option option : AllOptions) {
        if (key.Mark(question, option) == AnswerMark::X)
            letters += static_cast<char>('A' + static_cast<int>(option));
    }
    return letters;
}

AnswerKey LoadedKey()
{
    AnswerKey key;
    LoadAnswerKey(key);
    return key;
}

TEST(AnswerKey, HoldsTheFiguresOfTheWholeTable)
{
    AnswerKey key = LoadedKey();
    int marked = 0;
    std::array<int, 5> questionsByCorrectCount {};
    std::array<int, 4> byOption {};
    for (int test = 1; test <= TestCount; ++test) {
        for (int question = 1; question <= QuestionsPerTest; ++question) {
            int correct = 0;
            for (Option option : AllOptions) {
                if (key.Mark({ test, question }, option) == AnswerMark::X) {
                    ++correct;
                    ++byOption[static_cast<int>(option)];
                }
            }
            marked += correct;
            ++questionsByCorrectCount[static_cast<std::size_t>(correct)];
        }
    }
    EXPECT_EQ(marked, 1343);
    EXPECT_EQ(AnswerKey::MarkCount - marked, 1857);
    EXPECT_EQ(questionsByCorrectCount, (std::array<int, 5> { 0, 458, 184, 115, 43 }));
    EXPECT_EQ(byOption, (std::array<int, 4> { 348, 338, 363, 294 }));
}

TEST(AnswerKey, HasTheNamedEntries)
{
    AnswerKey key = LoadedKey();
    EXPECT_EQ(Letters(key, { 1, 1 }), "A");
    EXPECT_EQ(Letters(key, { 1, 6 }), "CD");
    EXPECT_EQ(Letters(key, { 1, 9 }), "ABCD");
    EXPECT_EQ(Letters(key, { 7, 12 }), "C");
    EXPECT_EQ(Letters(key, { 17, 25 }), "A");
    EXPECT_EQ(Letters(key, { 32, 1 }), "D");
    EXPECT_EQ(Letters(key, { 32, 25 }), "B");
}

TEST(AnswerKey, StartsEmptyAndLoadingOverwritesEveryMark)
{
    AnswerKey key;
    EXPECT_EQ(key.Mark({ 1, 1 }, Option::A), AnswerMark::Empty);
    LoadAnswerKey(key);
    AnswerKey again = key;
    LoadAnswerKey(again);
    for (int test = 1; test <= TestCount; ++test)
        for (int question = 1; question <= QuestionsPerTest; ++question)
            EXPECT_EQ(Letters(again, { test, question }), Letters(key, { test, question }));
    EXPECT_EQ(MarkText(AnswerMark::X), "x");
    EXPECT_EQ(MarkText(AnswerMark::Empty), "");
}

TEST(AnswerKey, RejectsEveryIndexOutsideTheTable)
{
    AnswerKey key = LoadedKey();
    const QuestionRef outside[]
        = { { 0, 1 }, { 33, 1 }, { 1, 0 }, { 1, 26 }, { -1, -1 }, { 32, 26 }, { INT32_MAX, 1 } };
    for (QuestionRef question : outside)
        EXPECT_THROW(key.Mark(question, Option::A), std::out_of_range)
            << question.Test << "/" << question.Question;
    EXPECT_THROW(key.Mark({ 1, 1 }, static_cast<Option>(4)), std::out_of_range);
    EXPECT_THROW(key.Mark({ 1, 1 }, static_cast<Option>(-1)), std::out_of_range);
}

} // namespace
} // namespace brzdomat
