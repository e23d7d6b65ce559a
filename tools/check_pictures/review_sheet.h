#pragma once

// The review sheet: a PDF that puts every question picture beside the key's answers for a person
// to compare, since no program can tell whether a picture asks the question whose answers the
// key holds. A page per test shows its 25 pictures as the program would show them, each
// captioned with its question, its points and the key's correct answers, and marked when the
// program would not show it as intended; the first pages give the check's summary and findings,
// so the folder is checked before the sheet is drawn.
// Needs a QGuiApplication; draws with Qt's own PDF writer.

#include "bank/jpeg_decoder.h"
#include "bank/question_ref.h"
#include "tools/check_pictures/picture_check.h"
#include "tools/common/user_language.h"

#include <QRectF>

#include <filesystem>
#include <memory>
#include <string>

namespace brzdomat {

// Where a question's picture lies on its test's page, in millimetres from the page's top-left
// corner; the rectangle stands for the program's whole picture area.
QRectF SheetPictureArea(int question);

class ReviewSheet {
public:
    ReviewSheet(std::filesystem::path file, Language);
    ~ReviewSheet();
    ReviewSheet(const ReviewSheet&) = delete;
    ReviewSheet& operator=(const ReviewSheet&) = delete;

    // Opens the new sheet beside the file it will replace, so that a place that cannot be
    // written is known before any picture is checked. False, with Error() saying why, if not.
    bool Begin();

    // What a cell shows of a picture: the program's picture area as the program shows it, at
    // half size. Plain work on pixels, safe on any thread, so the checker's workers can do it.
    static std::shared_ptr<const RgbImage> Reduce(const RgbImage& shown);

    // Draws the first pages, the check's summary and findings, before any picture.
    void AddSummary(const FolderReport&);

    // Draws one picture's cell; the pictures come in the program's order. image is what Reduce
    // gave of what the program would show, or null when it shows its message instead.
    void AddPicture(QuestionRef, const PictureVerdict&, const RgbImage* image);

    // Completes the sheet and only then puts it in the file's place. False, with Error() saying
    // why, if it could not be written whole; the file is then as it was.
    bool Finish();

    const std::string& Error() const { return m_Error; }

private:
    struct Drawing;
    std::filesystem::path m_File;
    Language m_Language;
    std::unique_ptr<Drawing> m_Drawing;
    std::string m_Error;
};

} // namespace brzdomat
