#include "bank/question_picture.h"

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

std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef question)
{
    std::string path { startDirectory };
    path += PictureFolder;
    path += std::to_string(question.Test);
    path += '_';
    path += std::to_string(question.Question);
    path += ".jpg";
    return path;
}

void LoadQuestionPicture(UiSurface& surface, std::string_view startDirectory, QuestionRef question,
    const DecodeOptions& options)
{
    // Loading must not fail towards the caller; only the surface's own calls may throw, and
    // those belong to the caller's handler.
    DecodeOptions decoding = options;
    if (surface.ScreenBitsPerPixel() <= 8)
        decoding.Screen = ScreenDepth::AtMost8Bits;
    std::shared_ptr<const RgbImage> picture;
    try {
        picture = LoadPictureFile(QuestionPicturePath(startDirectory, question), decoding).Image;
    } catch (...) {
        picture.reset();
    }
    if (picture)
        surface.ShowPicture(Picture::Image1, std::move(picture));
    else
        surface.ShowError(PictureFailureText);
}

} // namespace brzdomat
