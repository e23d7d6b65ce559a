#include "bank/question_picture.h"

#include "bank/picture_file.h"

#include <filesystem>
#include <system_error>

namespace brzdomat {

namespace {

// The picture folder's name between the system's separators.
#ifdef _WIN32
constexpr std::string_view PictureFolder = "\\img\\";
#else
constexpr std::string_view PictureFolder = "/img/";
#endif

} // namespace

std::string CurrentDirectory()
{
    // UTF-8 on every system: on Windows the path comes in UTF-16 and is converted here.
    std::error_code error;
    std::filesystem::path directory = std::filesystem::current_path(error);
    if (error)
        return {};
    std::u8string text = directory.u8string();
    return std::string { text.begin(), text.end() };
}

std::string QuestionPictureName(QuestionRef question)
{
    return std::to_string(question.Test) + "_" + std::to_string(question.Question) + ".jpg";
}

std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef question)
{
    std::string path { startDirectory };
    path += PictureFolder;
    path += QuestionPictureName(question);
    return path;
}

DecodeResult LoadQuestionPicture(
    std::string_view startDirectory, QuestionRef question, const DecodeOptions& options)
{
    try {
        return LoadPictureFile(QuestionPicturePath(startDirectory, question), options);
    } catch (...) {
        // Only the path's own allocation can throw here; the loader reports everything else.
        DecodeResult result;
        result.Failure = DecodeFailure::OutOfMemory;
        result.Detail = "out of memory";
        return result;
    }
}

void LoadQuestionPictureAhead(
    std::string_view startDirectory, QuestionRef question, const DecodeOptions& options)
{
    try {
        ReadPictureFileAhead(
            QuestionPicturePath(startDirectory, question), options.Limits.MaxFileBytes);
    } catch (...) {
        // Only a hint: should the path not fit in memory, the load itself reports it.
    }
}

} // namespace brzdomat
