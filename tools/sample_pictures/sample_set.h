#pragma once

// Writes the sample picture set: one question card per question, 1_1.jpg .. 32_25.jpg, named as
// the program looks for them. A folder may already hold a school's own pictures, so an existing
// file is never replaced.

#include "bank/question_ref.h"
#include "tools/common/user_language.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brzdomat {

// The quality that keeps a card at about 20 to 30 KB while its small text stays crisp.
inline constexpr int SampleCardQuality = 75;

// One card as baseline JPEG bytes; empty if encoding failed. Needs a QGuiApplication.
std::vector<std::uint8_t> EncodeQuestionCard(QuestionRef question);

struct SampleSetReport {
    int Written = 0;
    // Files that already existed and were left as they were.
    int Kept = 0;
    // Empty when every file is written or kept; otherwise what went wrong, with the path.
    std::string Error;
};

// Creates the folder if it is missing. Stops at the first failure; a file it could not finish
// is removed again, so no half-written picture stays behind. The error is told in language.
SampleSetReport WriteSampleSet(
    const std::filesystem::path& folder, Language language = Language::English);

} // namespace brzdomat
