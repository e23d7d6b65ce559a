#include "bank/question_picture.h"

#include "bank/picture_file.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace brzdomat {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
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
    // Room for two numbers of any int, signs included.
    std::array<char, sizeof PictureNameFormat + 2 * 11> name {};
    int length = std::snprintf(
        name.data(), name.size(), PictureNameFormat, question.Test, question.Question);
    return { name.data(), static_cast<std::size_t>(length) };
}

std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef question)
{
    std::string path { startDirectory };
    path += Separator;
    path += PictureFolderName;
    path += Separator;
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
