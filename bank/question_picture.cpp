#include "bank/question_picture.h"

#include <filesystem>
#include <system_error>

namespace brzdomat {

std::string CurrentDirectory()
{
    std::error_code error;
    std::filesystem::path directory = std::filesystem::current_path(error);
    return error ? std::string {} : directory.string();
}

std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef question)
{
    std::string path { startDirectory };
    path += "/img/";
    path += std::to_string(question.Test);
    path += '_';
    path += std::to_string(question.Question);
    path += ".jpg";
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

} // namespace brzdomat
