#include "ui/qt/pdf/pdf_sheet.h"

#include "bank/picture_area.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace brzdomat {

namespace {

// The writer's dots per inch, into which the millimetres are turned.
constexpr int Resolution = 1200;

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

} // namespace

double SheetUnits(double millimetres)
{
    return millimetres * Resolution / 25.4;
}

QPointF SheetUnits(QPointF millimetres)
{
    return { SheetUnits(millimetres.x()), SheetUnits(millimetres.y()) };
}

QRectF SheetUnits(const QRectF& millimetres)
{
    return { SheetUnits(millimetres.x()), SheetUnits(millimetres.y()),
        SheetUnits(millimetres.width()), SheetUnits(millimetres.height()) };
}

double SheetMillimetres(double units)
{
    return units * 25.4 / Resolution;
}

QFont SheetFont(double points, QFont::Weight weight)
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

QString SheetText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// At full size the checker's sheet of our 800 sample cards takes 38 MB instead of 15, and the
// half size still gives 140 pixels an inch on paper: each pixel is the mean of a block of 2 x 2.
// The odd-sized area's last column and row stand in for the missing halves of the last blocks.
RgbImage HalfSizePictureArea(const RgbImage& picture)
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

void DrawPictureArea(QPainter& painter, const RgbImage& half, const QRectF& area)
{
    // The pixels are only borrowed for the conversion; the writer compresses the converted image
    // at once.
    const QImage image = QImage(half.Pixels.data(), half.Width, half.Height,
        static_cast<qsizetype>(half.Width) * 3, QImage::Format_RGB888)
                             .convertToFormat(QImage::Format_RGB32);
    // The halved area stands for one more column and row than the program's odd-sized one.
    const QRectF target(area.topLeft(),
        QSizeF(area.width() * (2 * image.width()) / VisibleWidth,
            area.height() * (2 * image.height()) / VisibleHeight));
    painter.drawImage(SheetUnits(target), image);
}

// A file's sheet goes through the gathered writes into a save file; one in memory into a buffer.
struct PdfSheet::Output {
    explicit Output(const QString& file)
        : File(std::make_unique<QSaveFile>(file))
        , Gathered(std::make_unique<GatheredWrites>(*File))
        , Writer(Gathered.get())
    {
    }

    explicit Output(QByteArray& bytes)
        : Buffer(std::make_unique<QBuffer>(&bytes))
        , Writer(Buffer.get())
    {
    }

    std::unique_ptr<QSaveFile> File;
    std::unique_ptr<GatheredWrites> Gathered;
    std::unique_ptr<QBuffer> Buffer;
    QPdfWriter Writer;
    QPainter Painter;
};

PdfSheet::PdfSheet(const QString& file)
    : m_Output(std::make_unique<Output>(file))
{
}

PdfSheet::PdfSheet()
    : m_Output(std::make_unique<Output>(m_Bytes))
{
}

PdfSheet::~PdfSheet()
{
    // An unfinished sheet ends without a trace: the save file removes its temporary twin.
    if (m_Output->Painter.isActive())
        m_Output->Painter.end();
}

bool PdfSheet::Begin(const QString& title, const QString& creator)
{
    Output& output = *m_Output;
    if (output.File) {
        // A half-written sheet must never take the old one's place, not even when the save file
        // cannot make its twin beside it.
        output.File->setDirectWriteFallback(false);
        if (!output.File->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            m_Error = output.File->errorString();
            return false;
        }
        output.Gathered->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        output.Buffer->open(QIODevice::WriteOnly);
    }

    QPdfWriter& writer = output.Writer;
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
    writer.setTitle(title);
    writer.setCreator(creator);
    if (!output.Painter.begin(&writer)) {
        m_Error.clear();
        return false;
    }
    output.Painter.setRenderHint(QPainter::Antialiasing);
    return true;
}

QPainter& PdfSheet::Painter()
{
    return m_Output->Painter;
}

void PdfSheet::NewPage()
{
    if (m_Pages > 0)
        m_Output->Writer.newPage();
    ++m_Pages;
}

bool PdfSheet::Finish()
{
    Output& output = *m_Output;
    output.Painter.end();
    if (!output.File) {
        output.Buffer->close();
        return true;
    }
    if (!output.Gathered->Finish()) {
        m_Error = output.File->errorString();
        output.File->cancelWriting();
        output.File->commit();
        return false;
    }
    if (!output.File->commit()) {
        m_Error = output.File->errorString();
        return false;
    }
    return true;
}

SheetTextFlow::SheetTextFlow(PdfSheet& sheet, double margin)
    : m_Sheet(sheet)
    , m_Margin(margin)
{
}

QTextOption SheetTextFlow::Wrapped()
{
    QTextOption wrap(Qt::AlignLeft | Qt::AlignTop);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return wrap;
}

void SheetTextFlow::NewPage()
{
    m_Sheet.NewPage();
    m_Top = m_Margin;
}

void SheetTextFlow::Reserve(double height)
{
    if (m_Top + height > SheetPageHeight - m_Margin)
        NewPage();
}

void SheetTextFlow::Paragraph(
    const QString& text, const QFont& font, const QColor& colour, double spaceAfter)
{
    QPainter& painter = m_Sheet.Painter();
    const QTextOption wrap = Wrapped();
    painter.setFont(font);
    const QRectF measured = painter.boundingRect(
        SheetUnits(QRectF(m_Margin, 0, Width(), SheetPageHeight)), text, wrap);
    const double height = SheetMillimetres(measured.height());
    Reserve(height);
    painter.setPen(colour);
    painter.drawText(SheetUnits(QRectF(m_Margin, m_Top, Width(), height + 1)), text, wrap);
    m_Top += height + spaceAfter;
}

} // namespace brzdomat
