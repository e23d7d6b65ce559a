#include "tools/check_pictures/review_sheet.h"

#include "bank/answer_key.h"
#include "testrun/scoring.h"
#include "tools/check_pictures/key_table.h"
#include "tools/common/command_line.h"

#include <QDateTime>
#include <QFont>
#include <QFontDatabase>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace brzdomat {

namespace {

// The page is A4 and every length below is in millimetres. Five columns of pictures fill its
// width: 25 pictures can be no larger, and the text of a card needs all the size it can get.
// Below each picture are two lines of caption and two of findings.
constexpr double PageWidth = 210;
constexpr double PageHeight = 297;
constexpr double Margin = 8;
constexpr int Columns = 5;
constexpr double ColumnPitch = (PageWidth - 2 * Margin) / Columns;
constexpr double PictureWidth = 36.5;
constexpr double PictureHeight = PictureWidth * VisibleHeight / VisibleWidth;
constexpr double GridTop = 18;
constexpr double RowPitch = (PageHeight - Margin - GridTop) / (QuestionsPerTest / Columns);
constexpr double CaptionLine = 3.2;
constexpr double TextWidth = PageWidth - 2 * Margin;

// The writer's dots per inch, into which the millimetres are turned.
constexpr int Resolution = 1200;

double Units(double millimetres)
{
    return millimetres * Resolution / 25.4;
}

QPointF Units(QPointF millimetres)
{
    return { Units(millimetres.x()), Units(millimetres.y()) };
}

QRectF Units(const QRectF& millimetres)
{
    return { Units(millimetres.x()), Units(millimetres.y()), Units(millimetres.width()),
        Units(millimetres.height()) };
}

// The sheet's text must stay text in the PDF, to be searched and copied: Qt embeds a face only
// if it is an outline face with a character map; any other is drawn as curves, and letters it
// lacks come from a fallback face. So the first face present that has every Czech letter in
// itself is taken. Liberation Sans, which the Debian package depends on, has the metrics of
// Windows' Arial, so the pages are laid out alike on both systems; a Windows PC without Arial
// (Wine is one) may still have it or DejaVu Sans.
QString SheetFamily()
{
    static const QString chosen = [] {
        const QStringList candidates {
#ifdef _WIN32
            QStringLiteral("Arial"),
#endif
            QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
            QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("Verdana")
        };
        const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ·");
        const QStringList present = QFontDatabase::families();
        for (const QString& family : candidates) {
            if (!present.contains(family, Qt::CaseInsensitive)
                || !QFontDatabase::isSmoothlyScalable(family))
                continue;
            const QRawFont face = QRawFont::fromFont(QFont(family));
            if (!face.isValid() || face.familyName().compare(family, Qt::CaseInsensitive) != 0
                || face.fontTable("cmap").isEmpty())
                continue;
            if (std::all_of(czech.begin(), czech.end(),
                    [&](QChar letter) { return face.supportsCharacter(letter); }))
                return family;
        }
        return candidates.front();
    }();
    return chosen;
}

QFont SheetFont(double points, QFont::Weight weight = QFont::Normal)
{
    QFont font(SheetFamily());
#ifdef _WIN32
    // DirectWrite rather than GDI: the PDF writer tells embedded faces apart by the font file,
    // which DirectWrite names; through GDI under Wine, regular and bold shared one name and the
    // whole sheet came out bold. Hinting means nothing on paper anyway.
    font.setHintingPreference(QFont::PreferNoHinting);
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Okabe and Ito's orange and blue, which readers with any common colour blindness tell apart;
// the frames also differ in line and width, so that a grey print keeps them apart too.
const QColor NotShownColour(213, 94, 0);
const QColor ShownOtherwiseColour(0, 114, 178);
const QColor FineColour(160, 160, 160);

// The picture area as the program shows it, the picture's top-left part on white, at half its
// size: each pixel the mean of a block of 2 x 2. At full size the sheet of our 800 sample cards
// takes 38 MB instead of 15, and the half size still gives 140 pixels an inch on paper. The
// odd-sized area's last column and row stand in for the missing halves of the last blocks.
RgbImage HalfSize(const RgbImage& picture)
{
    RgbImage half;
    half.Width = (VisibleWidth + 1) / 2;
    half.Height = (VisibleHeight + 1) / 2;
    half.Pixels.resize(static_cast<std::size_t>(half.Width) * half.Height * 3);
    // A row of the area as the program shows it: the picture's row, or white where it does not
    // reach; the picture's own row is read in place when it spans the area.
    constexpr auto AreaRow = static_cast<std::size_t>(VisibleWidth) * 3;
    const std::vector<std::uint8_t> white(AreaRow, 255);
    std::array<std::vector<std::uint8_t>, 2> padded;
    const auto areaRow = [&](int y, std::vector<std::uint8_t>& buffer) -> const std::uint8_t* {
        if (y >= std::min(picture.Height, VisibleHeight))
            return white.data();
        const std::uint8_t* row
            = picture.Pixels.data() + static_cast<std::size_t>(y) * picture.Width * 3;
        if (picture.Width >= VisibleWidth)
            return row;
        buffer = white;
        std::copy_n(row, static_cast<std::size_t>(picture.Width) * 3, buffer.data());
        return buffer.data();
    };
    constexpr int WholeBlocks = VisibleWidth / 2;
    std::uint8_t* out = half.Pixels.data();
    for (int y = 0; y < half.Height; ++y) {
        const std::uint8_t* top = areaRow(2 * y, padded[0]);
        const std::uint8_t* bottom = areaRow(std::min(2 * y + 1, VisibleHeight - 1), padded[1]);
        for (int block = 0; block < WholeBlocks; ++block, top += 6, bottom += 6, out += 3) {
            out[0] = static_cast<std::uint8_t>((top[0] + top[3] + bottom[0] + bottom[3] + 2) >> 2);
            out[1] = static_cast<std::uint8_t>((top[1] + top[4] + bottom[1] + bottom[4] + 2) >> 2);
            out[2] = static_cast<std::uint8_t>((top[2] + top[5] + bottom[2] + bottom[5] + 2) >> 2);
        }
        // The odd last column stands for itself alone.
        for (int channel = 0; channel < 3; ++channel)
            *out++ = static_cast<std::uint8_t>((top[channel] + bottom[channel] + 1) >> 1);
    }
    return half;
}

// Between Qt's PDF writer and the file. The writer stops at the first failed write without a
// word, and Qt's file reports a short write, as on a full disk, only by its count. So the
// writer's many small writes are gathered here into large ones for an unbuffered file, and the
// rest of a short write is offered again, which makes the file record the system's error: the
// save file then refuses to take the old one's place, and says why. The bytes pass unchanged.
class GatheredWrites : public QIODevice {
public:
    explicit GatheredWrites(QIODevice& target)
        : m_Target(target)
    {
    }

    bool isSequential() const override { return true; }

    // Passes on what is still gathered; false if anything could not be written.
    bool Finish() { return Flush(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 length) override
    {
        m_Pending.append(data, length);
        return m_Pending.size() < WriteSize || Flush() ? length : -1;
    }

private:
    static constexpr qsizetype WriteSize = qsizetype { 1 } << 16;

    bool Flush()
    {
        for (qsizetype done = 0; done < m_Pending.size() && !m_Failed;) {
            const qint64 written
                = m_Target.write(m_Pending.constData() + done, m_Pending.size() - done);
            if (written <= 0)
                m_Failed = true;
            done += written;
        }
        m_Pending.clear();
        return !m_Failed;
    }

    QIODevice& m_Target;
    QByteArray m_Pending;
    bool m_Failed = false;
};

// Light diagonal lines, 3 mm apart, over an area whose picture the program does not show.
void Hatch(QPainter& painter, const QRectF& area)
{
    painter.save();
    painter.setClipRect(Units(area));
    painter.setPen(QPen(NotShownColour.lighter(170), Units(0.3)));
    for (double offset = -area.height(); offset < area.width(); offset += 3)
        painter.drawLine(Units(QPointF(area.left() + offset, area.bottom())),
            Units(QPointF(area.left() + offset + area.height(), area.top())));
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
        : File(file)
        , Output(File)
        , Writer(&Output)
    {
    }

    QSaveFile File;
    GatheredWrites Output;
    QPdfWriter Writer;
    QPainter Painter;
    AnswerKey Key;
    int Pages = 0;
};

std::shared_ptr<const RgbImage> ReviewSheet::Reduce(const RgbImage& shown)
{
    return std::make_shared<const RgbImage>(HalfSize(shown));
}

ReviewSheet::ReviewSheet(std::filesystem::path file, Language language)
    : m_File(std::move(file))
    , m_Language(language)
{
}

ReviewSheet::~ReviewSheet()
{
    // An unfinished sheet ends without a trace: the save file removes its temporary twin.
    if (m_Drawing && m_Drawing->Painter.isActive())
        m_Drawing->Painter.end();
}

bool ReviewSheet::Begin()
{
    const std::string name = Utf8FromPath(m_File);
    std::error_code error;
    if (std::filesystem::is_directory(m_File, error)) {
        m_Error = name + std::string(Say(m_Language, ": is a folder", ": je to složka"));
        return false;
    }
    m_Drawing = std::make_unique<Drawing>(Text(name));
    Drawing& drawing = *m_Drawing;
    // A half-written sheet must never take the old one's place, not even when the save file
    // cannot make its twin beside it.
    drawing.File.setDirectWriteFallback(false);
    if (!drawing.File.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_Error = name + ": " + drawing.File.errorString().toStdString();
        return false;
    }
    drawing.Output.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    LoadAnswerKey(drawing.Key);

    QPdfWriter& writer = drawing.Writer;
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
    writer.setTitle(Text(Say(m_Language, "Brzdomat: question pictures and the answer key",
        "Brzdomat: obrázky otázek a klíč odpovědí")));
    writer.setCreator(QStringLiteral("brzdomat-check-pictures"));
    if (!drawing.Painter.begin(&writer)) {
        m_Error = name
            + std::string(Say(m_Language, ": the PDF cannot be started", ": PDF nejde začít"));
        return false;
    }
    drawing.Painter.setRenderHint(QPainter::Antialiasing);
    return true;
}

void ReviewSheet::AddPicture(
    QuestionRef question, const PictureVerdict& verdict, const RgbImage* image)
{
    Drawing& drawing = *m_Drawing;
    QPainter& painter = drawing.Painter;
    if (question.Question == 1) {
        if (drawing.Pages > 0)
            drawing.Writer.newPage();
        ++drawing.Pages;
        painter.setPen(Qt::black);
        painter.setFont(SheetFont(15, QFont::Bold));
        painter.drawText(Units(QRectF(Margin, Margin, TextWidth, 7)), Qt::AlignLeft | Qt::AlignTop,
            QStringLiteral("Test %1").arg(question.Test));
        painter.setFont(SheetFont(8));
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(Units(QRectF(Margin, Margin, TextWidth, 7)),
            Qt::AlignRight | Qt::AlignBottom,
            Text(Say(m_Language, "Brzdomat: the pictures as the program shows them, with the key",
                "Brzdomat: obrázky, jak je program ukáže, s klíčem odpovědí")));
    }

    const QRectF area = SheetPictureArea(question.Question);
    if (image) {
        // The pixels are only borrowed for the conversion; the writer compresses the converted
        // image at once.
        const QImage half = QImage(image->Pixels.data(), image->Width, image->Height,
            static_cast<qsizetype>(image->Width) * 3, QImage::Format_RGB888)
                                .convertToFormat(QImage::Format_RGB32);
        // The halved area stands for one more column and row than the program's odd-sized one.
        const QRectF target(area.topLeft(),
            QSizeF(area.width() * (2 * half.width()) / VisibleWidth,
                area.height() * (2 * half.height()) / VisibleHeight));
        painter.drawImage(Units(target), half);
    } else {
        // The program shows its message and keeps the previous picture; the cell is hatched.
        Hatch(painter, area);
        const QRectF label(area.left() + 3, area.center().y() - 4, area.width() - 6, 8);
        painter.fillRect(Units(label), Qt::white);
        painter.setPen(NotShownColour);
        painter.setFont(SheetFont(9, QFont::Bold));
        painter.drawText(
            Units(label), Qt::AlignCenter, Text(Say(m_Language, "NOT SHOWN", "NEUKÁŽE SE")));
    }

    const bool fine = verdict.Finding == PictureFinding::Fine;
    QPen frame(fine ? FineColour : verdict.Shown ? ShownOtherwiseColour : NotShownColour);
    frame.setWidthF(Units(fine ? 0.2 : verdict.Shown ? 0.7 : 1.2));
    frame.setStyle(fine || !verdict.Shown ? Qt::SolidLine : Qt::DashLine);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    const double outset = fine ? 0.1 : verdict.Shown ? 0.35 : 0.6;
    painter.drawRect(Units(area.adjusted(-outset, -outset, outset, outset)));

    // "7/12 · 3 body" over "správně: B, D": a search for "7/12" finds the cell.
    const int points = QuestionWeight(question.Question);
    const QString number = QStringLiteral("%1/%2 · ").arg(question.Test).arg(question.Question);
    const QString letters = Text(CorrectLetters(drawing.Key, question, ", "));
    const QString caption = m_Language == Language::Czech
        ? number + (points == 1 ? QStringLiteral("1 bod") : QStringLiteral("%1 body").arg(points))
        : number
            + (points == 1 ? QStringLiteral("1 point") : QStringLiteral("%1 points").arg(points));
    const QRectF captionBox(area.left(), area.bottom() + 0.8, area.width(), CaptionLine);
    painter.setPen(Qt::black);
    painter.setFont(SheetFont(7.5, QFont::Bold));
    painter.drawText(Units(captionBox), Qt::AlignLeft | Qt::AlignVCenter, caption);
    const QRectF answerBox = captionBox.translated(0, CaptionLine);
    painter.setFont(SheetFont(7.5));
    painter.drawText(Units(answerBox), Qt::AlignLeft | Qt::AlignVCenter,
        Text(Say(m_Language, "correct: ", "správně: ")) + letters);

    if (!fine) {
        QString findings = Text(verdict.Shown ? Say(m_Language, "shown, but: ", "ukáže se, ale: ")
                                              : Say(m_Language, "not shown: ", "neukáže se: "));
        for (std::size_t index = 0; index < verdict.Findings.size(); ++index)
            findings += (index > 0 ? QStringLiteral(", ") : QString())
                + Text(FindingName(verdict.Findings[index], m_Language));
        painter.setPen(verdict.Shown ? ShownOtherwiseColour : NotShownColour);
        painter.setFont(SheetFont(6.5, QFont::Bold));
        QTextOption wrap(Qt::AlignLeft | Qt::AlignTop);
        wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter.drawText(
            Units(QRectF(answerBox.left(), answerBox.bottom() + 0.3, answerBox.width(), 5.4)),
            findings, wrap);
    }
}

void ReviewSheet::AddSummary(const FolderReport& report)
{
    Drawing& drawing = *m_Drawing;
    QPainter& painter = drawing.Painter;
    QTextOption wrap(Qt::AlignLeft | Qt::AlignTop);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double y = PageHeight; // forces the first page
    const auto newPage = [&] {
        if (drawing.Pages > 0)
            drawing.Writer.newPage();
        ++drawing.Pages;
        y = Margin;
    };
    // Draws a paragraph at y and moves below it, on a new page when it would not fit.
    const auto paragraph
        = [&](const QString& text, const QFont& font, const QColor& colour, double spaceAfter) {
              painter.setFont(font);
              const QRectF measured = painter.boundingRect(
                  Units(QRectF(Margin, 0, TextWidth, PageHeight)), text, wrap);
              const double height = measured.height() * 25.4 / Resolution;
              if (y + height > PageHeight - Margin)
                  newPage();
              painter.setPen(colour);
              painter.drawText(Units(QRectF(Margin, y, TextWidth, height + 1)), text, wrap);
              y += height + spaceAfter;
          };

    newPage();
    paragraph(Text(Say(m_Language, "Brzdomat: check of the question pictures",
                  "Brzdomat: kontrola obrázků otázek")),
        SheetFont(16, QFont::Bold), Qt::black, 3);
    const QDateTime now = QDateTime::currentDateTime();
    paragraph(Text(Say(m_Language, "Picture folder: ", "Složka s obrázky: "))
            + Text(report.PictureFolder),
        SheetFont(10), Qt::black, 1);
    paragraph(Text(Say(m_Language, "Checked: ", "Zkontrolováno: "))
            + now.toString(m_Language == Language::Czech ? QStringLiteral("d. M. yyyy H:mm")
                                                         : QStringLiteral("yyyy-MM-dd HH:mm")),
        SheetFont(10), Qt::black, 3);
    paragraph(Text(report.Summary), SheetFont(11, QFont::Bold), Qt::black, 4);

    paragraph(Text(Say(m_Language,
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
        if (y + 6 > PageHeight - Margin)
            newPage();
        const QRectF sample(Margin + 0.6, y + 0.6, 8, 4);
        if (entry.Hatched)
            Hatch(painter, sample);
        QPen pen(entry.Colour, Units(entry.Width), entry.Style);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(Units(sample));
        painter.setFont(SheetFont(9));
        painter.setPen(Qt::black);
        painter.drawText(Units(QRectF(Margin + 12, y, TextWidth - 12, 10)),
            Text(Say(m_Language, entry.English, entry.Czech)), wrap);
        y += 9;
    }
    y += 2;

    if (report.Lines.empty()) {
        paragraph(Text(Say(m_Language, "The program shows all 800 pictures as intended.",
                      "Všech 800 obrázků program ukáže tak, jak má.")),
            SheetFont(10, QFont::Bold), Qt::black, 0);
    } else {
        paragraph(Text(Say(m_Language, "Findings", "Nálezy")), SheetFont(11, QFont::Bold),
            Qt::black, 1.5);
        for (const std::string& line : report.Lines)
            paragraph(Text(line), SheetFont(8), Qt::black, 0.8);
    }
}

bool ReviewSheet::Finish()
{
    Drawing& drawing = *m_Drawing;
    drawing.Painter.end();
    if (!drawing.Output.Finish()) {
        m_Error = Utf8FromPath(m_File) + ": " + drawing.File.errorString().toStdString();
        drawing.File.cancelWriting();
        drawing.File.commit();
        return false;
    }
    if (!drawing.File.commit()) {
        m_Error = Utf8FromPath(m_File) + ": " + drawing.File.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace brzdomat
