#pragma once

// What the program's PDF sheets share: an A4 page measured in millimetres, a face that keeps
// every Czech letter as text, the question pictures drawn as the program shows them, paragraphs
// that flow from page to page, and a writer that puts a sheet in its file only when it is whole,
// or gives its bytes for a browser to download. What a sheet says is its own. Needs a
// QGuiApplication.

#include "bank/rgb_image.h"

#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QTextOption>

#include <memory>
#include <string_view>

class QPdfWriter;

namespace brzdomat {

// The page is A4 portrait; every length of a sheet is in millimetres from its top-left corner.
inline constexpr double SheetPageWidth = 210;
inline constexpr double SheetPageHeight = 297;

// Millimetres in the painter's units.
double SheetUnits(double millimetres);
QPointF SheetUnits(QPointF millimetres);
QRectF SheetUnits(const QRectF& millimetres);
// The painter's units in millimetres.
double SheetMillimetres(double units);

QFont SheetFont(double points, QFont::Weight = QFont::Normal);
QString SheetText(std::string_view utf8);

// What a sheet shows of a picture: the program's picture area as the program shows it, the
// picture's top-left part on white, at half size. Plain work on pixels, safe on any thread.
RgbImage HalfSizePictureArea(const RgbImage& picture);

// Draws what HalfSizePictureArea gave so that the area rectangle stands for the program's whole
// picture area.
void DrawPictureArea(QPainter&, const RgbImage& half, const QRectF& area);

class PdfSheet {
public:
    // A sheet for the file, which it replaces only when the sheet is whole.
    explicit PdfSheet(const QString& file);
    // A sheet in memory, for Bytes().
    PdfSheet();
    ~PdfSheet();
    PdfSheet(const PdfSheet&) = delete;
    PdfSheet& operator=(const PdfSheet&) = delete;

    // Opens the new sheet (a file's beside the file it will replace) and starts drawing. False
    // if it cannot: Error() then gives the system's reason, or is empty when the PDF itself could
    // not be started.
    bool Begin(const QString& title, const QString& creator);

    QPainter& Painter();
    // Ends the page drawn so far, if any, and starts the next.
    void NewPage();
    int Pages() const { return m_Pages; }

    // Completes the sheet and only then puts it in the file's place. False, with Error()
    // saying why, if it could not be written whole; the file is then as it was.
    bool Finish();

    // The completed sheet of one in memory.
    const QByteArray& Bytes() const { return m_Bytes; }
    const QString& Error() const { return m_Error; }

private:
    struct Output;
    // Before the output, which writes into it.
    QByteArray m_Bytes;
    std::unique_ptr<Output> m_Output;
    int m_Pages = 0;
    QString m_Error;
};

// Text set down a sheet's pages paragraph by paragraph, between the margins.
class SheetTextFlow {
public:
    SheetTextFlow(PdfSheet&, double margin);

    // Draws a paragraph at the flow's place and moves below it, on a new page when it would not
    // fit on this one.
    void Paragraph(const QString&, const QFont&, const QColor&, double spaceAfter);
    // Starts a new page and the flow at its top.
    void NewPage();
    // Starts a new page unless this one has room left for the height.
    void Reserve(double height);
    // Where the flow goes on; a sheet that draws something else moves it below what it drew.
    double Top() const { return m_Top; }
    void MoveTo(double top) { m_Top = top; }
    double Margin() const { return m_Margin; }
    double Width() const { return SheetPageWidth - 2 * m_Margin; }
    // Left-aligned text wrapped at word boundaries, or anywhere in a word too long for a line.
    static QTextOption Wrapped();

private:
    PdfSheet& m_Sheet;
    double m_Margin;
    // Until a page is started, nothing fits.
    double m_Top = SheetPageHeight;
};

} // namespace brzdomat
