#pragma once

// Where the question pictures lie and how one is loaded. Every picture file is untrusted input:
// users replace them with their own, so a hostile file must neither crash the program nor
// exhaust its memory or time.

#include "bank/jpeg_decoder.h"
#include "bank/question_ref.h"
#include "ui/ui_surface.h"

#include <memory>
#include <string>
#include <string_view>

namespace brzdomat {

// The process's current directory as an absolute path, as the system reports it (a root keeps
// its trailing separator). Empty if the system cannot tell.
std::string CurrentDirectory();

// startDirectory + "/img/" + test + "_" + question + ".jpg", with "\img\" on Windows; nothing
// normalised: a root start directory gives two separators in a row, which the file system accepts.
std::string QuestionPicturePath(std::string_view startDirectory, QuestionRef);

// The one message for every picture that cannot be shown, whatever the reason.
inline constexpr std::string_view PictureFailureText
    = "Nelze načít obrázek pro danou otázku. Obrázek zřejmě chybý či je poškozen!";

// Loads the question's picture into Image1. Every failure of whatever kind is reported with one
// error box; no failure reaches the caller, and a failed load keeps the picture on display.
// Every call reads the file anew. The pixels are decoded here, so a picture whose data turn out
// to be unusable is reported like a missing one instead of failing later on screen. A screen of
// 8 bits per pixel or fewer gets the picture quantised whatever the options say.
void LoadQuestionPicture(
    UiSurface&, std::string_view startDirectory, QuestionRef, const DecodeOptions& options = {});

} // namespace brzdomat
