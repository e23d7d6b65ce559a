#pragma once

// Putting a question's picture on screen. The loader in bank/ only gives back pixels or a
// failure; here a failure becomes the one error box the user sees.

#include "bank/jpeg_decoder.h"
#include "bank/question_picture.h"
#include "bank/question_ref.h"
#include "ui/ui_surface.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brzdomat {

// The one message for every picture that cannot be shown, whatever the reason.
inline constexpr std::string_view PictureFailureText
    = "Nelze načít obrázek pro danou otázku. Obrázek zřejmě chybý či je poškozen!";

// Loads the question's picture for a screen of the given depth: one of 8 bits per pixel or fewer
// gets it quantised whatever the options say.
DecodeResult LoadPictureForScreen(int screenBitsPerPixel, std::string_view startDirectory,
    QuestionRef, const DecodeOptions& options = {});

// Where the question's picture comes over the network (a page), gets it for ShowQuestionPicture;
// the clock may tick meanwhile, as while a box is open. A file on a disk needs no wait.
Reply<> GetQuestionPicture(std::string startDirectory, QuestionRef, std::size_t maxBytes);

// Loads the question's picture into Image1, or reports a failure of whatever kind with one
// error box; a failed load keeps the picture on display. A screen of 8 bits per pixel or fewer
// gets the picture quantised whatever the options say. Only the surface's own calls may throw,
// and those belong to the caller's handler.
Reply<> ShowQuestionPicture(
    UiSurface&, std::string startDirectory, QuestionRef, DecodeOptions options = {});

} // namespace brzdomat
