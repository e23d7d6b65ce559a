#include "testrun/picture_display.h"

#include "bank/picture_file.h"
#include "bank/question_picture.h"

#include <functional>
#include <utility>

namespace brzdomat {

DecodeResult LoadPictureForScreen(int screenBitsPerPixel, std::string_view startDirectory,
    QuestionRef question, const DecodeOptions& options)
{
    DecodeOptions decoding = options;
    if (screenBitsPerPixel <= 8)
        decoding.Screen = ScreenDepth::AtMost8Bits;
    return LoadQuestionPicture(startDirectory, question, decoding);
}

Reply<> GetPictureFiles(std::vector<std::string> paths, std::size_t maxBytes)
{
    co_await AfterCallback([&](std::function<void()> then) {
        return HoldPictureFiles(paths, maxBytes, std::move(then));
    });
}

Reply<> ShowQuestionPicture(UiSurface& surface, std::string_view startDirectory,
    QuestionRef question, const DecodeOptions& options)
{
    DecodeResult loaded;
    {
        const ForgetHeldPictureFilesAtEnd forget;
        loaded
            = LoadPictureForScreen(surface.ScreenBitsPerPixel(), startDirectory, question, options);
    }
    if (loaded.Image)
        surface.ShowPicture(Picture::Image1, std::move(loaded.Image));
    else
        co_await surface.ShowError(PictureFailureText);
}

} // namespace brzdomat
