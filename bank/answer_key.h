#pragma once

// The built-in key of correct answers: for each of the 800 questions, which of the options A..D
// are correct. It is part of the program; nothing is read from disk for it.

#include "bank/question_ref.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace brzdomat {

enum class Option { A, B, C, D };
inline constexpr std::array<Option, 4> AllOptions { Option::A, Option::B, Option::C, Option::D };

// A mark is the text "x" for a correct option or the empty text for a wrong one; no other value
// exists, so the exact comparison with "x" cannot be fooled by an "X" or a blank.
enum class AnswerMark : std::uint8_t { Empty, X };

std::string_view MarkText(AnswerMark);

class AnswerKey {
public:
    // Every mark empty until LoadAnswerKey fills the table.
    AnswerKey() = default;

    // Throws std::out_of_range for a test, question or option outside the table rather than
    // reading beyond it.
    AnswerMark Mark(QuestionRef, Option) const;

    static constexpr int MarkCount = TestCount * QuestionsPerTest * 4;

private:
    friend void LoadAnswerKey(AnswerKey&);
    // Test by test, question by question, options A..D.
    std::array<AnswerMark, MarkCount> m_Marks {};
};

// Sets all 3200 marks, the empty ones included, so the result does not depend on what the table
// held before.
void LoadAnswerKey(AnswerKey&);

} // namespace brzdomat
