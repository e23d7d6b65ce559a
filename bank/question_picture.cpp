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
