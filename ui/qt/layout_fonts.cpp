#include "ui/qt/layout_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QString>

#include <algorithm>

namespace brzdomat {

namespace {

#ifndef _WIN32
// The design's "MS Sans Serif" is missing outside Windows. These faces come nearest to its
// widths, measured over every label of the windows: Wine's Tahoma for regular text, DejaVu Sans
// Condensed Bold for the bold sizes up to 19 pixels and DejaVu Sans Bold for the 23-pixel verdict.
// (Wine's Tahoma Bold is no heavier than its regular face once scaled up.) Wine keeps its fonts
// outside the system's font folders, so the program adds Tahoma itself.
QString SubstituteFamily(int pixelSize, Weight weight)
{
    static const bool tahomaAdded = [] {
        const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        return QFile::exists(tahoma) && QFontDatabase::addApplicationFont(tahoma) >= 0;
    }();
    (void)tahomaAdded;
    if (weight == Weight::Regular)
        return QStringLiteral("Tahoma");
    return pixelSize >= 23 ? QStringLiteral("DejaVu Sans")
                           : QStringLiteral("DejaVu Sans Condensed");
}
#endif

} // namespace

void KeepDesignBaseline(QLabel* label)
{
    // The design's font rises its full character height above the baseline.
    label->setContentsMargins(
        0, std::max(0, label->font().pixelSize() - label->fontMetrics().ascent()), 0, 0);
}

QFont LayoutFont(int pixelSize, Weight weight)
{
    QFont font;
#ifdef _WIN32
    // Windows has the face the layout names, and its TrueType successor where the bitmap face
    // lacks a size; the Linux substitutes would only stand in for them.
    font.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif") });
#else
    font.setFamilies({ QStringLiteral("MS Sans Serif"), SubstituteFamily(pixelSize, weight),
        QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(weight == Weight::Bold);
    return font;
}

} // namespace brzdomat
