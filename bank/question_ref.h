#pragma once

namespace brzdomat {

inline constexpr int TestCount = 32;
inline constexpr int QuestionsPerTest = 25;

// A question of the bank: test 1..32, question 1..25 within the test.
struct QuestionRef {
    int Test = 1;
    int Question = 1;
    friend constexpr bool operator==(QuestionRef, QuestionRef) = default;
};

} // namespace brzdomat
