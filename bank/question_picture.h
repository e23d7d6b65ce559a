#pragma once

// Where the question pictures lie and how one is loaded. Every picture file is untrusted input:
// users replace them with their own, so a hostile file must neither crash the program nor
// exhaust its memory or time.

#include "bank/jpeg_decoder.h"
#include "bank/question_ref.h"

#include <string>
#include <string_view>

namespace brzdomat {

// One picture a question.
inline constexpr int PictureCount = TestCount * QuestionsPerTest;

// The folder below the start directory that holds the pictures.
inline constexpr std::string_view PictureFolderName = "img";

// The file name of a question's picture as printf writes it from the test and the question
// number. The build hands it to the scripts and the page's checks too, which name the pictures
// by it.
inline constexpr char PictureNameFormat[] = "%d_%d.jpg";

// The process's current directory as an absolute path, as the system reports it (a root keeps
// its trailing separator). Empty if the system cannot tell.
std::string CurrentDirectory();

// The file name of the question's picture: test, "_", question, ".jpg", without leading zeros
// ("7_12.jpg"). The sample set and the picture checker name the files by it too.
std::string QuestionPictureName(QuestionRef);

// startDirectory + "/img/" + the picture's name, with "\img\" on Windows; nothing normalised: a
// root start directory gives two separators in a row, which the file system accepts.
std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef);

// Loads the question's picture: reads the file anew on every call and decodes its pixels here,
// so that a picture whose data turn out to be unusable fails like a missing one instead of later
// on screen. Never throws: every failure, whatever its kind, is the result's Failure.
DecodeResult LoadQuestionPicture(
    std::string_view startDirectory, QuestionRef, const DecodeOptions& options = {});

// Says that the question's picture is loaded next (ReadPictureFileAhead). Never throws.
void LoadQuestionPictureAhead(
    std::string_view startDirectory, QuestionRef, const DecodeOptions& options = {});

} // namespace brzdomat
