// Draws the program's own artwork into the folder given as the only argument:
//   splash.png      the splash window's picture, 152 x 200: the pixels that the program's decoder
//                   makes of a colour baseline JFIF of about 10 KB, so that the picture keeps the
//                   look of the JPEG it was drawn as, while the program has its pixels compiled
//                   in (scripts/png-pixels) and needs neither libjpeg nor a decoder to show it;
//   about_icon.png  the About window's icon, 32 x 32 with a palette of 16 colours.
// The outputs are committed under ui/qt/artwork; run this only to change them.

#include "bank/jpeg_decoder.h"
#include "tools/sample_pictures/jpeg_writer.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int SplashWidth = 152;
constexpr int SplashHeight = 200;
// The splash picture should weigh about this much; the quality is chosen to come closest.
constexpr std::size_t SplashTargetBytes = 10'200;

QFont ArtFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// A road running into the distance under an evening sky, a car braking on it with its brake
// lights on, and a warning sign at the roadside. The top and bottom strips stay calm, because
// the window writes "Free Ware" and "Tervolan" over them.
QImage DrawSplash()
{
    QImage image(SplashWidth, SplashHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 104);
    sky.setColorAt(0, QColor(255, 255, 255));
    sky.setColorAt(0.35, QColor(196, 222, 246));
    sky.setColorAt(1, QColor(250, 200, 150));
    painter.fillRect(QRect(0, 0, SplashWidth, 104), sky);

    // Hills on the horizon.
    QPainterPath hills;
    hills.moveTo(0, 104);
    hills.cubicTo(30, 84, 55, 92, 76, 98);
    hills.cubicTo(100, 86, 128, 80, 152, 96);
    hills.lineTo(152, 104);
    hills.closeSubpath();
    painter.fillPath(hills, QColor(96, 140, 96));

    QLinearGradient field(0, 104, 0, SplashHeight);
    field.setColorAt(0, QColor(120, 170, 90));
    field.setColorAt(1, QColor(70, 120, 50));
    painter.fillRect(QRect(0, 104, SplashWidth, SplashHeight - 104), field);

    // The road, narrowing to the horizon.
    QPainterPath road;
    road.moveTo(70, 104);
    road.lineTo(82, 104);
    road.lineTo(170, SplashHeight);
    road.lineTo(-18, SplashHeight);
    road.closeSubpath();
    QLinearGradient asphalt(0, 104, 0, SplashHeight);
    asphalt.setColorAt(0, QColor(150, 150, 156));
    asphalt.setColorAt(1, QColor(70, 70, 76));
    painter.fillPath(road, asphalt);
    painter.setPen(QPen(QColor(250, 250, 250), 1.2));
    for (int dash = 0; dash < 6; ++dash) {
        const qreal near = 104 + (dash + 1) * (dash + 1) * 2.6;
        const qreal far = near - 2 - dash * 1.6;
        painter.drawLine(QPointF(76, far), QPointF(76, near));
    }

    // The braking car, seen from behind.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40, 110));
    painter.drawEllipse(QRectF(38, 164, 76, 10));
    painter.setBrush(QColor(28, 28, 32));
    painter.drawRoundedRect(QRectF(44, 156, 14, 14), 3, 3);
    painter.drawRoundedRect(QRectF(94, 156, 14, 14), 3, 3);
    QPainterPath body;
    body.moveTo(52, 132);
    body.lineTo(100, 132);
    body.lineTo(110, 146);
    body.lineTo(112, 162);
    body.lineTo(40, 162);
    body.lineTo(42, 146);
    body.closeSubpath();
    QLinearGradient paint(0, 132, 0, 162);
    paint.setColorAt(0, QColor(60, 110, 200));
    paint.setColorAt(1, QColor(20, 50, 120));
    painter.setBrush(paint);
    painter.drawPath(body);
    painter.setBrush(QColor(170, 210, 235));
    painter.drawRoundedRect(QRectF(56, 135, 40, 10), 2, 2);
    painter.setBrush(QColor(235, 235, 235));
    painter.drawRect(QRectF(66, 152, 20, 5));
    // Brake lights with their glow.
    for (const qreal x : { 48.0, 104.0 }) {
        QRadialGradient glow(QPointF(x, 149), 13);
        glow.setColorAt(0, QColor(255, 60, 40, 200));
        glow.setColorAt(1, QColor(255, 60, 40, 0));
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(x, 149), 13, 13);
        painter.setBrush(QColor(255, 30, 20));
        painter.drawRoundedRect(QRectF(x - 6, 146, 12, 6), 2, 2);
    }

    // A warning triangle on a post at the right of the road.
    painter.setPen(QPen(QColor(110, 110, 110), 2));
    painter.drawLine(QPointF(132, 96), QPointF(132, 128));
    QPainterPath sign;
    sign.moveTo(132, 70);
    sign.lineTo(146, 95);
    sign.lineTo(118, 95);
    sign.closeSubpath();
    painter.setPen(QPen(QColor(210, 20, 20), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 220, 40));
    painter.drawPath(sign);
    painter.setPen(QPen(QColor(20, 20, 20), 2));
    painter.drawLine(QPointF(132, 79), QPointF(132, 87));
    painter.drawPoint(QPointF(132, 91));

    // The product's name in the sky.
    painter.setFont(ArtFont(19));
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 33, SplashWidth, 26), Qt::AlignCenter, QStringLiteral("Brzdomat"));
    painter.setPen(QColor(170, 20, 20));
    painter.drawText(QRect(-1, 32, SplashWidth, 26), Qt::AlignCenter, QStringLiteral("Brzdomat"));
    painter.setFont(ArtFont(9));
    painter.setPen(QColor(60, 60, 90));
    painter.drawText(
        QRect(0, 56, SplashWidth, 14), Qt::AlignCenter, QStringLiteral("testy z předpisů"));
    painter.end();
    return image;
}

// Tries every quality and keeps the encoding whose size is closest to the target.
std::vector<std::uint8_t> EncodeNear(const QImage& image, std::size_t targetBytes)
{
    std::vector<std::uint8_t> best;
    for (int quality = 30; quality <= 98; ++quality) {
        auto encoded = brzdomat::EncodeBaselineJpeg(image, quality);
        if (!encoded.Error.empty())
            continue;
        const auto distance = [&](std::size_t size) {
            return size > targetBytes ? size - targetBytes : targetBytes - size;
        };
        if (best.empty() || distance(encoded.Bytes.size()) < distance(best.size()))
            best = std::move(encoded.Bytes);
    }
    return best;
}

// The sixteen colours of the classic palette; the icon is drawn with nothing else, so turning
// it into an indexed picture loses nothing.
QList<QRgb> ClassicPalette()
{
    return { qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128),
        qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128),
        qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255),
        qRgb(0, 255, 255), qRgb(255, 255, 255) };
}

// A steering wheel with a red brake-light hub, on white like the About window.
QImage DrawAboutIcon()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawEllipse(QRect(1, 1, 30, 30));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawEllipse(QRect(3, 3, 26, 26));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(6, 6, 20, 20));
    // Spokes: left, right and down.
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(QRect(4, 14, 24, 4));
    painter.drawRect(QRect(14, 16, 4, 12));
    painter.setBrush(QColor(0, 0, 0));
    painter.drawEllipse(QRect(10, 10, 12, 12));
    painter.setBrush(QColor(255, 0, 0));
    painter.drawEllipse(QRect(12, 12, 8, 8));
    painter.setBrush(QColor(255, 255, 0));
    painter.drawRect(QRect(15, 14, 2, 2));
    painter.end();
    return image.convertToFormat(
        QImage::Format_Indexed8, ClassicPalette(), Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "brzdomat_artwork");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    const std::filesystem::path folder = argv[1];
    const auto splashPath = folder / "splash.png";
    const auto encoded = EncodeNear(DrawSplash(), SplashTargetBytes);
    brzdomat::DecodeOptions region;
    region.Width = SplashWidth;
    region.Height = SplashHeight;
    const auto decoded = brzdomat::DecodeJpeg(encoded, region);
    if (!decoded.Image
        || !QImage(decoded.Image->Pixels.data(), decoded.Image->Width, decoded.Image->Height,
            decoded.Image->Width * 3, QImage::Format_RGB888)
                .save(QString::fromStdString(splashPath.string()), "PNG")) {
        std::fprintf(stderr, "brzdomat_artwork: cannot write %s\n", splashPath.c_str());
        return 1;
    }
    const auto iconPath = folder / "about_icon.png";
    if (!DrawAboutIcon().save(QString::fromStdString(iconPath.string()), "PNG")) {
        std::fprintf(stderr, "brzdomat_artwork: cannot write %s\n", iconPath.c_str());
        return 1;
    }
    std::printf("splash.png (from %zu bytes of JPEG) and about_icon.png written\n", encoded.size());
    return EXIT_SUCCESS;
}
