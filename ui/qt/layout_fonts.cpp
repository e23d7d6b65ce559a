#include "ui/qt/layout_fonts.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace brzdomat {

namespace {

#ifndef _WIN32
// The design's "MS Sans Serif" is missing outside Windows. These faces come nearest to its
// widths, measured over every label of the windows: Wine's Tahoma for regular text, DejaVu Sans
// Condensed Bold for the bold sizes up to 19 pixels and DejaVu Sans Bold for the 23-pixel verdict.
// (Wine's Tahoma Bold is no heavier than its regular face once scaled up.)
QString SubstituteFamily(int pixelSize, Weight weight)
{
    if (weight == Weight::Regular)
        return QStringLiteral("Tahoma");
    return pixelSize >= 23 ? QStringLiteral("DejaVu Sans")
                           : QStringLiteral("DejaVu Sans Condensed");
}

// Wine keeps its fonts outside the system's font folders, so the program adds Tahoma itself.
void AddWineTahoma()
{
    const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(tahoma))
        QFontDatabase::addApplicationFont(tahoma);
}

// Whether the system has a face of the family, as the font database lists it: a family that
// several foundries make comes as "Family [Foundry]". The list is read once, after Wine's Tahoma
// has been added.
bool HasFamily(const QString& family)
{
    static const QStringList families = [] {
        AddWineTahoma();
        QStringList listed = QFontDatabase::families();
        for (QString& name : listed)
            name = name.section(QStringLiteral(" ["), 0, 0);
        return listed;
    }();
    return families.contains(family, Qt::CaseInsensitive);
}

#endif

constexpr const char* DesignWidthProperty = "brzdomatDesignWidth";

// The texts of one style in a window, and the labels among them, measured in a candidate face.
struct Style {
    QFont Font;
    std::vector<QLabel*> Labels;
    QString Letters;
};

struct Fit {
    bool DrawsEveryLetter = false;
    int Overflow = 0;
    double WorstShare = 0;
};

Fit Measure(const Style& style, const QFont& font)
{
    Fit fit;
    const QFontMetrics metrics(font);
    fit.DrawsEveryLetter = std::all_of(style.Letters.begin(), style.Letters.end(),
        [&](QChar letter) { return letter.isSpace() || metrics.inFontUcs4(letter.unicode()); });
    for (QLabel* label : style.Labels) {
        const int width = metrics.horizontalAdvance(label->text());
        // A text that reaches the next control would touch it: one pixel stays free.
        fit.Overflow += std::max(0, width - (Room(label) - 1));
        if (const int design = DesignWidth(label); design > 0)
            fit.WorstShare = std::max(fit.WorstShare, std::abs(width - design) / double(design));
    }
    return fit;
}

// Better: draws every letter, then outgrows less, then keeps nearer to the design.
bool Better(const Fit& candidate, const Fit& best)
{
    if (candidate.DrawsEveryLetter != best.DrawsEveryLetter)
        return candidate.DrawsEveryLetter;
    if (candidate.Overflow != best.Overflow)
        return candidate.Overflow < best.Overflow;
    return candidate.WorstShare < best.WorstShare;
}

} // namespace

void SetDesignWidth(QLabel* label, int pixels)
{
    label->setProperty(DesignWidthProperty, pixels);
}

int DesignWidth(const QLabel* label)
{
    return label->property(DesignWidthProperty).toInt();
}

int Room(const QLabel* label)
{
    const QWidget* parent = label->parentWidget();
    int right = parent ? parent->width() : label->x() + label->width();
    if (!parent)
        return right - label->x();
    const int top = label->y();
    const int bottom = label->y() + std::max(label->height(), label->fontMetrics().height());
    for (const QObject* child : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(child);
        if (!other || other == label || other->isWindow())
            continue;
        const QRect place = other->geometry();
        if (place.left() > label->x() && place.top() < bottom && place.bottom() >= top)
            right = std::min(right, place.left());
    }
    return right - label->x();
}

void FitLayoutFaces(QWidget* window, const QStringList& faces)
{
    std::map<std::pair<int, bool>, Style> styles;
    auto styleOf = [&](const QFont& font) -> Style& {
        Style& style = styles[{ font.pixelSize(), font.bold() }];
        style.Font = font;
        return style;
    };
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->text().isEmpty())
            continue;
        Style& style = styleOf(label->font());
        style.Labels.push_back(label);
        style.Letters += label->text();
    }
    // Buttons and boxes write in the window's own font.
    Style& windowStyle = styleOf(window->font());
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        windowStyle.Letters += button->text();

    std::map<std::pair<int, bool>, QString> chosen;
    for (auto& [key, style] : styles) {
        std::optional<Fit> best;
        for (const QString& face : faces) {
            QFont font = style.Font;
            font.setFamilies({ face });
            // A family the system lacks is replaced by another under the same request, and a
            // bitmap face without the size by another size.
            const QFontInfo drawn(font);
            if (drawn.family().compare(face, Qt::CaseInsensitive) != 0
                || drawn.pixelSize() != font.pixelSize())
                continue;
            const Fit fit = Measure(style, font);
            if (!best || Better(fit, *best)) {
                best = fit;
                chosen[key] = face;
            }
        }
        if (best && !best->DrawsEveryLetter)
            chosen.erase(key);
    }

    auto refit = [&](const QFont& font) -> std::optional<QFont> {
        const auto found = chosen.find({ font.pixelSize(), font.bold() });
        if (found == chosen.end())
            return std::nullopt;
        QFont fitted = font;
        fitted.setFamilies({ found->second });
        return fitted;
    };
    if (auto font = refit(window->font()))
        window->setFont(*font);
    for (QLabel* label : labels) {
        // A picture's label keeps its place.
        if (label->text().isEmpty())
            continue;
        if (auto font = refit(label->font())) {
            label->setFont(*font);
            KeepDesignBaseline(label);
            label->adjustSize();
        }
    }
}

void FitLayoutFaces([[maybe_unused]] QWidget* window)
{
#ifdef _WIN32
    FitLayoutFaces(window,
        { QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Tahoma"), QStringLiteral("Segoe UI") });
#endif
}

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
    // lacks a size; the Linux substitutes would only stand in for them. The windows then fit
    // their faces to what the PC has. A TrueType face is drawn with its own widths, hinted only
    // vertically (DirectWrite): hinted to whole pixels (GDI), small sizes of Tahoma come out a
    // fifth wider than the design, and the layout's texts outgrow their places.
    font.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif") });
    font.setHintingPreference(QFont::PreferVerticalHinting);
#else
    // Only the first family the system has is named: a missing one named first would have the
    // toolkit work out the system's stand-ins for it with every new font, and a second one would
    // have it work out the first one's stand-ins at once, for letters that face draws anyway. The
    // design's bitmap face alone keeps the families after it, for the Czech letters it may lack.
    QStringList families { QStringLiteral("MS Sans Serif"), SubstituteFamily(pixelSize, weight),
        QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") };
    const auto installed = std::find_if(families.begin(), families.end(), HasFamily);
    if (installed == families.end())
        families.removeFirst();
    else if (installed != families.begin())
        families = QStringList { *installed };
    font.setFamilies(families);
#endif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(weight == Weight::Bold);
    return font;
}

} // namespace brzdomat
