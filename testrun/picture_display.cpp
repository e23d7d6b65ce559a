#include "testrun/picture_display.h"

#include "bank/question_picture.h"

namespace brzdomat {

void ShowQuestionPicture(UiSurface& surface, std::string_view startDirectory, QuestionRef question,
    const DecodeOptions& options)
{
    DecodeOptions decoding = options;
    if (surface.ScreenBitsPerPixel() <= 8)
        decoding.Screen = ScreenDepth::AtMost8Bits;
    DecodeResult loaded = LoadQuestionPicture(startDirectory, question, decoding);
    if (loaded.Image)
        surface.ShowPicture(Picture::Image1, std::move(loaded.Image));
    else
        surface.ShowError(PictureFailureText);
}

} // namespace brzdomat
