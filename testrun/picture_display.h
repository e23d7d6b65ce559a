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
#include <vector>

namespace brzdomat {

// The one message for every picture that cannot be shown, whatever the reason.
inline constexpr std::string_view PictureFailureText
    = "Nelze načít obrázek pro danou otázku. Obrázek zřejmě chybý či je poškozen!";

// Loads the question's picture for a screen of the given depth: one of 8 bits per pixel or fewer
// gets it quantised whatever the options say.
DecodeResult LoadPictureForScreen(int screenBitsPerPixel, std::string_view startDirectory,
    QuestionRef, const DecodeOptions& options = {});

// Where pictures come over the network (a page), gets the files and holds them until they are
// forgotten (HoldPictureFiles); the clock may tick meanwhile, as while a box is open. Files on a
// disk need no wait.
Reply<> GetPictureFiles(std::vector<std::string> paths, std::size_t maxBytes);

// Loads the question's picture into Image1, or reports a failure of whatever kind with one
// error box; a failed load keeps the picture on display. A screen of 8 bits per pixel or fewer
// gets the picture quantised whatever the options say. Only the surface's own calls may throw,
// and those belong to the caller's handler. Forgets the held files once it has read its own; the
// arguments are used only before the first wait.
Reply<> ShowQuestionPicture(
    UiSurface&, std::string_view startDirectory, QuestionRef, const DecodeOptions& options = {});

} // namespace brzdomat
