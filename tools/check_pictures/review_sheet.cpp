#include "tools/check_pictures/review_sheet.h"

#include "bank/answer_key.h"
#include "testrun/scoring.h"
#include "tools/check_pictures/key_table.h"
#include "tools/common/command_line.h"
#include "ui/qt/pdf/pdf_sheet.h"

#include <QDateTime>
#include <QFont>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace brzdomat {

namespace {

// Every length below is in millimetres. Five columns of pictures fill the page's width: 25
// pictures can be no larger, and the text of a card needs all the size it can get. Below each
// picture are two lines of caption and two of findings.
constexpr double PageWidth = SheetPageWidth;
constexpr double PageHeight = SheetPageHeight;
constexpr double Margin = 8;
constexpr int Columns = 5;
constexpr double ColumnPitch = (PageWidth - 2 * Margin) / Columns;
constexpr double PictureWidth = 36.5;
constexpr double PictureHeight = PictureWidth * VisibleHeight / VisibleWidth;
constexpr double GridTop = 18;
constexpr double RowPitch = (PageHeight - Margin - GridTop) / (QuestionsPerTest / Columns);
constexpr double CaptionLine = 3.2;
constexpr double TextWidth = PageWidth - 2 * Margin;

// Okabe and Ito's orange and blue, which readers with any common colour blindness tell apart;
// the frames also differ in line and width, so that a grey print keeps them apart too.
const QColor NotShownColour(213, 94, 0);
const QColor ShownOtherwiseColour(0, 114, 178);
const QColor FineColour(160, 160, 160);

// Light diagonal lines, 3 mm apart, over an area whose picture the program does not show.
void Hatch(QPainter& painter, const QRectF& area)
{
    painter.save();
    painter.setClipRect(SheetUnits(area));
    painter.setPen(QPen(NotShownColour.lighter(170), SheetUnits(0.3)));
    for (double offset = -area.height(); offset < area.width(); offset += 3)
        painter.drawLine(SheetUnits(QPointF(area.left() + offset, area.bottom())),
            SheetUnits(QPointF(area.left() + offset + area.height(), area.top())));
    painter.restore();
}

} // namespace

QRectF SheetPictureArea(int question)
{
    const int index = question - 1;
    return { Margin + (index % Columns) * ColumnPitch + (ColumnPitch - PictureWidth) / 2,
        GridTop + (index / Columns) * RowPitch, PictureWidth, PictureHeight };
}

struct ReviewSheet::Drawing {
    explicit Drawing(const QString& file)
        : Sheet(file)
    {
    }

    PdfSheet Sheet;
    AnswerKey Key;
};

std::shared_ptr<const RgbImage> ReviewSheet::Reduce(const RgbImage& shown)
{
    return std::make_shared<const RgbImage>(HalfSizePictureArea(shown));
}

ReviewSheet::ReviewSheet(std::filesystem::path file, Language language)
    : m_File(std::move(file))
    , m_Language(language)
{
}

ReviewSheet::~ReviewSheet() = default;

bool ReviewSheet::Begin()
{
    const std::string name = Utf8FromPath(m_File);
    std::error_code error;
    if (std::filesystem::is_directory(m_File, error)) {
        m_Error = name + std::string(Say(m_Language, ": is a folder", ": je to složka"));
        return false;
    }
    m_Drawing = std::make_unique<Drawing>(SheetText(name));
    LoadAnswerKey(m_Drawing->Key);
    PdfSheet& sheet = m_Drawing->Sheet;
    if (!sheet.Begin(SheetText(Say(m_Language, "Brzdomat: question pictures and the answer key",
                         "Brzdomat: obrázky otázek a klíč odpovědí")),
            QStringLiteral("brzdomat-check-pictures"))) {
        m_Error = name
            + (sheet.Error().isEmpty() ? std::string(
                   Say(m_Language, ": the PDF cannot be started", ": PDF nejde začít"))
                                       : ": " + sheet.Error().toStdString());
        return false;
    }
    return true;
}

void ReviewSheet::AddPicture(
    QuestionRef question, const PictureVerdict& verdict, const RgbImage* image)
{
    Drawing& drawing = *m_Drawing;
    QPainter& painter = drawing.Sheet.Painter();
    if (question.Question == 1) {
        drawing.Sheet.NewPage();
        painter.setPen(Qt::black);
        painter.setFont(SheetFont(15, QFont::Bold));
        painter.drawText(SheetUnits(QRectF(Margin, Margin, TextWidth, 7)),
            Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Test %1").arg(question.Test));
        painter.setFont(SheetFont(8));
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(SheetUnits(QRectF(Margin, Margin, TextWidth, 7)),
            Qt::AlignRight | Qt::AlignBottom,
            SheetText(
                Say(m_Language, "Brzdomat: the pictures as the program shows them, with the key",
                    "Brzdomat: obrázky, jak je program ukáže, s klíčem odpovědí")));
    }

    const QRectF area = SheetPictureArea(question.Question);
    if (image) {
        DrawPictureArea(painter, *image, area);
    } else {
        // The program shows its message and keeps the previous picture; the cell is hatched.
        Hatch(painter, area);
        const QRectF label(area.left() + 3, area.center().y() - 4, area.width() - 6, 8);
        painter.fillRect(SheetUnits(label), Qt::white);
        painter.setPen(NotShownColour);
        painter.setFont(SheetFont(9, QFont::Bold));
        painter.drawText(SheetUnits(label), Qt::AlignCenter,
            SheetText(Say(m_Language, "NOT SHOWN", "NEUKÁŽE SE")));
    }

    const bool fine = verdict.Finding == PictureFinding::Fine;
    QPen frame(fine ? FineColour : verdict.Shown ? ShownOtherwiseColour : NotShownColour);
    frame.setWidthF(SheetUnits(fine ? 0.2 : verdict.Shown ? 0.7 : 1.2));
    frame.setStyle(fine || !verdict.Shown ? Qt::SolidLine : Qt::DashLine);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    const double outset = fine ? 0.1 : verdict.Shown ? 0.35 : 0.6;
    painter.drawRect(SheetUnits(area.adjusted(-outset, -outset, outset, outset)));

    // "7/12 · 3 body" over "správně: B, D": a search for "7/12" finds the cell.
    const int points = QuestionWeight(question.Question);
    const QString number = QStringLiteral("%1/%2 · ").arg(question.Test).arg(question.Question);
    const QString letters = SheetText(CorrectLetters(drawing.Key, question, ", "));
    const QString caption = m_Language == Language::Czech
        ? number + (points == 1 ? QStringLiteral("1 bod") : QStringLiteral("%1 body").arg(points))
        : number
            + (points == 1 ? QStringLiteral("1 point") : QStringLiteral("%1 points").arg(points));
    const QRectF captionBox(area.left(), area.bottom() + 0.8, area.width(), CaptionLine);
    painter.setPen(Qt::black);
    painter.setFont(SheetFont(7.5, QFont::Bold));
    painter.drawText(SheetUnits(captionBox), Qt::AlignLeft | Qt::AlignVCenter, caption);
    const QRectF answerBox = captionBox.translated(0, CaptionLine);
    painter.setFont(SheetFont(7.5));
    painter.drawText(SheetUnits(answerBox), Qt::AlignLeft | Qt::AlignVCenter,
        SheetText(Say(m_Language, "correct: ", "správně: ")) + letters);

    if (!fine) {
        QString findings
            = SheetText(verdict.Shown ? Say(m_Language, "shown, but: ", "ukáže se, ale: ")
                                      : Say(m_Language, "not shown: ", "neukáže se: "));
        for (std::size_t index = 0; index < verdict.Findings.size(); ++index)
            findings += (index > 0 ? QStringLiteral(", ") : QString())
                + SheetText(FindingName(verdict.Findings[index], m_Language));
        painter.setPen(verdict.Shown ? ShownOtherwiseColour : NotShownColour);
        painter.setFont(SheetFont(6.5, QFont::Bold));
        painter.drawText(
            SheetUnits(QRectF(answerBox.left(), answerBox.bottom() + 0.3, answerBox.width(), 5.4)),
            findings, SheetTextFlow::Wrapped());
    }
}

void ReviewSheet::AddSummary(const FolderReport& report)
{
    QPainter& painter = m_Drawing->Sheet.Painter();
    SheetTextFlow flow(m_Drawing->Sheet, Margin);
    flow.NewPage();
    flow.Paragraph(SheetText(Say(m_Language, "Brzdomat: check of the question pictures",
                       "Brzdomat: kontrola obrázků otázek")),
        SheetFont(16, QFont::Bold), Qt::black, 3);
    const QDateTime now = QDateTime::currentDateTime();
    flow.Paragraph(SheetText(Say(m_Language, "Picture folder: ", "Složka s obrázky: "))
            + SheetText(report.PictureFolder),
        SheetFont(10), Qt::black, 1);
    flow.Paragraph(SheetText(Say(m_Language, "Checked: ", "Zkontrolováno: "))
            + now.toString(m_Language == Language::Czech ? QStringLiteral("d. M. yyyy H:mm")
                                                         : QStringLiteral("yyyy-MM-dd HH:mm")),
        SheetFont(10), Qt::black, 3);
    flow.Paragraph(SheetText(report.Summary), SheetFont(11, QFont::Bold), Qt::black, 4);

    flow.Paragraph(
        SheetText(Say(m_Language,
            "A page for each test shows its 25 pictures as the program shows them, each "
            "captioned with test/question, its points and the correct answers by the "
            "program's key. Compare every picture with its caption: a picture under the "
            "wrong name, or a question whose answers were reordered, marks right answers "
            "wrong.",
            "Na stránce každého testu je jeho 25 obrázků tak, jak je program ukáže, každý s "
            "popiskem test/otázka, počtem bodů a správnými odpověďmi podle klíče programu. "
            "Porovnejte každý obrázek s popiskem: obrázek pod cizím jménem nebo otázka s "
            "přeházenými odpověďmi označí správné odpovědi jako chybné.")),
        SheetFont(9), Qt::black, 3);
    // The legend draws each frame as the cells have it.
    const struct {
        QColor Colour;
        double Width;
        Qt::PenStyle Style;
        bool Hatched;
        std::string_view English;
        std::string_view Czech;
    } legend[] = {
        { NotShownColour, 1.2, Qt::SolidLine, true,
            "Thick solid orange frame, hatched: the program does not show the picture, it shows "
            "its error message instead.",
            "Silný plný oranžový rámeček, šrafované pole: program obrázek neukáže, místo něj "
            "ukáže chybové hlášení." },
        { ShownOtherwiseColour, 0.7, Qt::DashLine, false,
            "Dashed blue frame: the program shows the picture, but not as intended.",
            "Čárkovaný modrý rámeček: program obrázek ukáže, ale ne tak, jak má." },
    };
    for (const auto& entry : legend) {
        flow.Reserve(6);
        const double y = flow.Top();
        const QRectF sample(Margin + 0.6, y + 0.6, 8, 4);
        if (entry.Hatched)
            Hatch(painter, sample);
        QPen pen(entry.Colour, SheetUnits(entry.Width), entry.Style);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(SheetUnits(sample));
        painter.setFont(SheetFont(9));
        painter.setPen(Qt::black);
        painter.drawText(SheetUnits(QRectF(Margin + 12, y, TextWidth - 12, 10)),
            SheetText(Say(m_Language, entry.English, entry.Czech)), SheetTextFlow::Wrapped());
        flow.MoveTo(y + 9);
    }
    flow.MoveTo(flow.Top() + 2);

    if (report.Lines.empty()) {
        flow.Paragraph(SheetText(Say(m_Language, "The program shows all 800 pictures as intended.",
                           "Všech 800 obrázků program ukáže tak, jak má.")),
            SheetFont(10, QFont::Bold), Qt::black, 0);
    } else {
        flow.Paragraph(SheetText(Say(m_Language, "Findings", "Nálezy")), SheetFont(11, QFont::Bold),
            Qt::black, 1.5);
        for (const std::string& line : report.Lines)
            flow.Paragraph(SheetText(line), SheetFont(8), Qt::black, 0.8);
    }
}

bool ReviewSheet::Finish()
{
    PdfSheet& sheet = m_Drawing->Sheet;
    if (!sheet.Finish()) {
        m_Error = Utf8FromPath(m_File) + ": " + sheet.Error().toStdString();
        return false;
    }
    return true;
}

} // namespace brzdomat
