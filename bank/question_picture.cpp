#include "bank/question_picture.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace brzdomat {

std::string CurrentDirectory()
{
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr)
            return std::string { buffer.data() };
        if (errno != ERANGE || buffer.size() >= (std::size_t { 1 } << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
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
