#include "testrun/picture_display.h"

#include "bank/question_picture.h"

namespace brzdomat {

DecodeResult LoadPictureForScreen(int screenBitsPerPixel, std::string_view startDirectory,
    QuestionRef question, const DecodeOptions& options)
{
    DecodeOptions decoding = options;
    if (screenBitsPerPixel <= 8)
        decoding.Screen = ScreenDepth::AtMost8Bits;
    return LoadQuestionPicture(startDirectory, question, decoding);
}

void ShowQuestionPicture(UiSurface& surface, std::string_view startDirectory, QuestionRef question,
    const DecodeOptions& options)
{
    DecodeResult loaded
        = LoadPictureForScreen(surface.ScreenBitsPerPixel(), startDirectory, question, options);
    if (loaded.Image)
        surface.ShowPicture(Picture::Image1, std::move(loaded.Image));
    else
        surface.ShowError(PictureFailureText);
}

} // namespace brzdomat
