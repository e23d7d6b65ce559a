#include "ui/qt/main_window.h"

#include "bank/picture_area.h"
#include "bank/question_ref.h"
#include "program_facts.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/scheduled_ticks.h"
#include "ui/qt/widget_helpers.h"
#include "ui/qt/window_hints.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <optional>

namespace brzdomat {

namespace {

struct LabelPlace {
    const char* Name;
    int Left;
    int Top;
    const char* Text;
    // The text's width in the design's face.
    int DesignWidth;
    int Pixels = WindowFontPixels;
    Weight Boldness = Weight::Regular;
    std::optional<Colour> Ink = std::nullopt;
    // For a status value: the label that names it, and the one with its unit.
    const char* Caption = nullptr;
    const char* Unit = nullptr;
};

// Every label of the window with its design text. The status labels' texts only fix their
// fonts: the window is emptied of them before it is first shown.
const LabelPlace LabelPlaces[] = {
    { "Label1", 8, 8, "Test č.", 33 },
    { "Label2", 72, 0, "1", 12, 19, Weight::Bold, Green, "Label1" }, // test number
    { "Label3", 8, 40, "Otázka č.", 46 },
    { "Label4", 72, 32, "1", 12, 19, Weight::Bold, Blue, "Label3" }, // question number
    { "Label5", 232, 8, "Počet chybných bodů:", 107 },
    { "Label6", 376, 8, "0", 8, 11, Weight::Bold, Blue, "Label5" }, // error points
    { "Label7", 232, 40, "Počet dosažených bodů:", 118 },
    { "Label8", 376, 40, "0", 8, 11, Weight::Bold, Blue, "Label7" }, // achieved points
    { "Label16", 552, 8, "Čas:", 21 },
    { "Label17", 600, 8, "30", 15, 11, Weight::Bold, Blue, "Label16",
        "Label18" }, // elapsed minutes
    { "Label18", 624, 8, "minut", 25 },
    { "Label9", 552, 40, "Test:", 24 },
    { "Label10", 600, 28, "NEZVLÁDÁTE", 166, 23, Weight::Bold, Red, "Label9" }, // verdict
    { "Label31", 86, 80, "váš", 17 },
    { "Label11", 29, 96, "správně", 38 },
    { "Label12", 81, 96, "výběr", 26 },
    { "Label13", 16, 120, "A", 7 },
    { "Label14", 16, 136, "B", 7 },
    { "Label15", 16, 152, "C", 7 },
    { "Label19", 16, 168, "D", 8 },
    { "Label23", 534, 408, "Přezkušovací testy z předpisů", 253, 16, Weight::Bold },
    { "Label24", 560, 432, "o provozu na pozemních", 202, 16, Weight::Bold },
    { "Label25", 543, 456, "komunikacích a ze zdravotní", 236, 16, Weight::Bold },
    { "Label22", 626, 480, "přípravy", 69, 16, Weight::Bold },
    { "Label26", 602, 504, "Aktuální ke dni: 1.7.2004", 119, 11, Weight::Regular, Blue },
    { "Label27", 538, 520, "Vhodné pro procvičování ke zkouškám v autoškole ", 247 },
};

constexpr int CheckBoxSize = 17;
constexpr int RowTops[] = { 118, 134, 150, 166 };
constexpr const char* RowLetters[] = { "A", "B", "C", "D" };
// Two columns of boxes, one box of each for every answer.
static_assert(ControlCount<CheckBox> == 2 * std::size(RowTops));

// A status value read out together with its caption and unit ("Test č. 7", "Čas: 12 minut"),
// while the screen shows them as separate labels.
class ValueLabel : public QLabel {
public:
    using QLabel::QLabel;

    void SetCaption(QLabel* caption, QLabel* unit)
    {
        m_Caption = caption;
        m_Unit = unit;
        caption->setBuddy(this);
    }

    // Empty, a value takes no room, so that emptying it needs no font.
    QSize sizeHint() const override { return text().isEmpty() ? QSize(0, 0) : QLabel::sizeHint(); }
    QSize minimumSizeHint() const override
    {
        return text().isEmpty() ? QSize(0, 0) : QLabel::minimumSizeHint();
    }

    QString SpokenText() const
    {
        QString spoken = m_Caption ? m_Caption->text() : QString();
        if (text().isEmpty())
            return spoken;
        spoken += u' ' + text();
        if (m_Unit)
            spoken += u' ' + m_Unit->text();
        return spoken;
    }

private:
    QLabel* m_Caption = nullptr;
    QLabel* m_Unit = nullptr;
};

QAccessibleInterface* AccessibleValue(ValueLabel* label)
{
    return new NamedAccessible(
        label, QAccessible::StaticText, [label] { return label->SpokenText(); });
}

// Announced as a window named by its caption, as every main window is.
QAccessibleInterface* AccessibleMainWindow(MainWindow* window)
{
    return new QAccessibleWidget(window, QAccessible::Window);
}

// The answer boxes' frames, in colours of known contrast against the white window, since the
// styles frame an enabled box in a light grey (1.67:1 in Fusion) that reads as disabled. The
// student's boxes are framed dark (10:1); the program's in a mid grey (4:1) around a grey face,
// which reads as a box nobody ticks.
const QColor ChoiceFrame(64, 64, 64);
const QColor RevealFrame(128, 128, 128);

// Draws the box as the style does, then its indicator's frame over the style's own. The frame
// that it covers may be where the style shows the keyboard focus, so a box that has it is framed
// twice as thick in the highlight colour.
void DrawAnswerBox(QCheckBox& box, const QStyleOptionButton& option, QColor frame)
{
    QStylePainter painter(&box);
    painter.drawControl(QStyle::CE_CheckBox, option);
    auto indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    auto outline = indicator.adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    if (option.state.testFlags(QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange)) {
        painter.setPen(option.palette.color(QPalette::Highlight));
        painter.drawRect(outline);
        painter.drawRect(outline.adjusted(1, 1, -1, -1));
    } else {
        painter.setPen(frame);
        painter.drawRect(outline);
    }
}

// A box of the "výběr" column, the only ones the student ticks. For a finger it becomes a
// target as large as its place, with its letter in it, that a touch anywhere on ticks.
class ChoiceBox : public QCheckBox {
public:
    ChoiceBox(QWidget* parent, QString letter)
        : QCheckBox(parent)
        , m_Letter(std::move(letter))
    {
    }

    void SetFingerSized(bool large)
    {
        m_FingerSized = large;
        update();
    }

protected:
    bool hitButton(const QPoint& position) const override
    {
        return m_FingerSized ? rect().contains(position) : QCheckBox::hitButton(position);
    }

    void paintEvent(QPaintEvent* event) override
    {
        if (m_FingerSized) {
            PaintFingerSized();
            return;
        }
        // A disabled box keeps the style's look, which says that it takes no tick.
        if (!isEnabled()) {
            QCheckBox::paintEvent(event);
            return;
        }
        QStyleOptionButton option;
        initStyleOption(&option);
        DrawAnswerBox(*this, option, ChoiceFrame);
    }

private:
    // A ticked target is filled and framed thick, with a tick in its corner, so that the state
    // does not rest on colour alone; a disabled one is grey, as a disabled box is.
    void PaintFingerSized()
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool enabled = isEnabled();
        const bool focused = hasFocus();
        const int frameWidth = isChecked() || focused ? 3 : 2;
        QColor frame = enabled ? ChoiceFrame : QColor(160, 160, 160);
        if (focused)
            frame = palette().color(QPalette::Highlight);
        const QRectF target = QRectF(rect()).adjusted(
            frameWidth / 2.0, frameWidth / 2.0, -frameWidth / 2.0, -frameWidth / 2.0);
        painter.setPen(QPen(frame, frameWidth));
        painter.setBrush(!enabled ? QColor(240, 240, 240)
                : isChecked()     ? QColor(210, 228, 255)
                                  : QColor(Qt::white));
        painter.drawRoundedRect(target, 6, 6);
        painter.setPen(enabled ? QColor(Qt::black) : QColor(128, 128, 128));
        QFont letterFont = font();
        letterFont.setPixelSize(20);
        letterFont.setBold(true);
        painter.setFont(letterFont);
        painter.drawText(rect(), Qt::AlignCenter, m_Letter);
        if (isChecked()) {
            letterFont.setPixelSize(16);
            painter.setFont(letterFont);
            painter.drawText(rect().adjusted(0, 2, -6, 0), Qt::AlignRight | Qt::AlignTop,
                QString::fromUtf8("✓"));
        }
    }

    QString m_Letter;
    bool m_FingerSized = false;
};

// The "správně" boxes only the program ticks. They stay disabled, but are drawn as enabled ones,
// so that a revealed tick stands out in the text colour, on the button face.
class CorrectAnswerBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        option.palette.setBrush(QPalette::Base, option.palette.button());
        DrawAnswerBox(*this, option, RevealFrame);
    }
};

// The row, 0 for A to 3 for D, of the key that ticks a box: a letter in either case, or a digit
// of the digit row or the keypad. None with Ctrl, Alt or Meta, which belong to the menus.
std::optional<int> AnswerRowOfKey(const QKeyEvent& key)
{
    if ((key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier)
        return std::nullopt;
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_D)
        return key.key() - Qt::Key_A;
    if (key.key() >= Qt::Key_1 && key.key() <= Qt::Key_4)
        return key.key() - Qt::Key_1;
    return std::nullopt;
}

} // namespace

MainWindow::MainWindow()
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    InstallAccessible<ValueLabel, &AccessibleValue>();
    InstallAccessible<MainWindow, &AccessibleMainWindow>();
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(FromUtf8(MainWindowCaption));
    BuildControls();
    BuildMenu();
    // The menu bar across the top, the client area below it. The client area has a fixed size
    // and the window follows it, menu bar included: the user cannot resize or maximise it.
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->setMenuBar(m_MenuBar);
    box->addWidget(m_Client);
    box->setSizeConstraint(QLayout::SetFixedSize);
    for (auto* control : centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        m_Designed.push_back({ control, control->geometry(), !control->isHidden() });
}

void MainWindow::BuildControls()
{
    auto* client = m_Client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(ClientWidth, ClientHeight);
    // The layout fixes the pixel sizes of the window's own controls; the menus, whose metrics it
    // leaves open, keep the desktop's font.
    client->setFont(LayoutFont(WindowFontPixels));
    auto palette = client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    client->setPalette(palette);
    client->setAutoFillBackground(true);

    for (const auto& place : LabelPlaces) {
        // The text is set once the label is whole: setting it makes the label's accessible
        // interface, which must be the one of its own class.
        auto* label = place.Caption ? new ValueLabel(client) : new QLabel(client);
        label->setText(QString::fromUtf8(place.Text));
        label->setObjectName(QString::fromLatin1(place.Name));
        label->setFont(LayoutFont(place.Pixels, place.Boldness));
        SetDesignWidth(label, place.DesignWidth);
        label->setTextFormat(Qt::PlainText);
        label->setMargin(0);
        label->setIndent(0);
        if (place.Ink)
            SetTextColour(label, *place.Ink);
        label->move(place.Left, place.Top);
        // A status value is emptied before the window is first shown and measured when it gets
        // its text: measured now, it would load faces the first window does not show (the
        // verdict's alone is a quarter of a megabyte).
        if (!place.Caption) {
            KeepDesignBaseline(label);
            label->adjustSize();
        }
    }
    for (const auto& place : LabelPlaces) {
        if (!place.Caption)
            continue;
        auto* value = static_cast<ValueLabel*>(client->findChild<QLabel*>(place.Name));
        value->SetCaption(client->findChild<QLabel*>(place.Caption),
            place.Unit ? client->findChild<QLabel*>(place.Unit) : nullptr);
    }

    // The separator under the status strip: a raised bevel one pixel wide on the button face.
    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(8, 56, 769, 9);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setBackgroundRole(QPalette::Button);
    panel->setAutoFillBackground(true);
    panel->setFocusPolicy(Qt::NoFocus);

    // Columns "správně" (left, CheckBox1..4, only the program ticks them) and "výběr" (right,
    // CheckBox5..8, the user's answer); rows A to D.
    std::array<QCheckBox*, ControlCount<CheckBox>> answerBoxes {};
    for (int index = 0; index < static_cast<int>(answerBoxes.size()); ++index) {
        bool correctColumn = index < 4;
        int row = index % 4;
        QCheckBox* box = correctColumn
            ? static_cast<QCheckBox*>(new CorrectAnswerBox(client))
            : new ChoiceBox(client, QString::fromLatin1(RowLetters[row]));
        box->setObjectName(FromUtf8(ControlName(static_cast<CheckBox>(index))));
        box->setGeometry(correctColumn ? 40 : 88, RowTops[row], CheckBoxSize, CheckBoxSize);
        box->setAccessibleName(
            QString::fromUtf8(correctColumn ? "správně " : "výběr ") + RowLetters[row]);
        box->setEnabled(!correctColumn);
        answerBoxes[static_cast<std::size_t>(index)] = box;
    }

    auto* button1 = new QPushButton(QStringLiteral("Potvrď"), client);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setGeometry(8, 192, 105, 25);
    button1->setEnabled(false);
    button1->setAutoDefault(false);
    button1->installEventFilter(this);
    connect(button1, &QPushButton::clicked, this, [this] { Run(m_Commands.Confirm); });

    auto* image1 = new PictureView(client);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(Image1Left, Image1Top, VisibleWidth, VisibleHeight);
    image1->setAccessibleName(QString::fromUtf8("obrázek otázky"));

    auto* panelFocus = static_cast<QWidget*>(panel);
    QWidget::setTabOrder(panelFocus, answerBoxes[0]);
    for (std::size_t index = 1; index < answerBoxes.size(); ++index)
        QWidget::setTabOrder(answerBoxes[index - 1], answerBoxes[index]);
    QWidget::setTabOrder(answerBoxes.back(), button1);

    auto* timer1 = new QTimer(this);
    timer1->setObjectName(QStringLiteral("Timer1"));
    timer1->setInterval(std::chrono::minutes(1));
    timer1->setTimerType(Qt::PreciseTimer);
    new ScheduledTicks(timer1, [this] { Run(m_Commands.ClockTick); });

    FitLayoutFaces(client);
}

void MainWindow::BuildMenu()
{
    auto* bar = m_MenuBar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto name = [](QObject* object, std::string_view objectName) {
        object->setObjectName(FromUtf8(objectName));
    };

    // The one submenu holds the tests 1 to 32.
    auto addChosenTests = [this](QMenu* chosen) {
        for (int test = 1; test <= TestCount; ++test) {
            auto* action = chosen->addAction(QString::number(test));
            action->setObjectName(
                QStringLiteral("N") + QString::number(test) + QStringLiteral("1"));
            connect(action, &QAction::triggered, this, [this, test] {
                if (m_Commands.ChosenTest)
                    m_Commands.ChosenTest(test);
            });
        }
    };

    // The bar holds its menus in order, then its own commands.
    std::array<QMenu*, std::size(MenuBarMenus)> menus {};
    for (const auto& menu : MenuBarMenus) {
        auto* made = bar->addMenu(FromUtf8(menu.Caption));
        name(made, menu.Name);
        name(made->menuAction(), menu.Name);
        menus[static_cast<std::size_t>(menu.Place)] = made;
    }
    for (const auto& row : MenuItemRows) {
        auto caption = FromUtf8(row.Caption);
        auto* menu
            = row.Place == MenuPlace::Bar ? nullptr : menus[static_cast<std::size_t>(row.Place)];
        QAction* action = nullptr;
        if (row.Kind == MenuKind::Submenu) {
            auto* chosen = menu->addMenu(caption);
            name(chosen, ControlName(row.Item));
            addChosenTests(chosen);
            action = chosen->menuAction();
        } else if (row.Kind == MenuKind::Separator) {
            action = menu->addSeparator();
        } else {
            action = menu ? menu->addAction(caption) : bar->addAction(caption);
            // Unticked at every start; the logic decides the tick each time the item is chosen.
            action->setCheckable(row.Kind == MenuKind::Check);
            connect(action, &QAction::triggered, this, [this, item = row.Item] {
                if (m_Commands.MenuCommand)
                    m_Commands.MenuCommand(item);
            });
        }
        name(action, ControlName(row.Item));
        action->setEnabled(EnabledAtStart(row));
    }

    // F10 opens the menu bar, as on the program's original platform.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, bar, [bar] {
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });

    // A click into the menu bar counts as a click into the window for the first activation.
    bar->installEventFilter(this);
    centralWidget()->installEventFilter(this);
}

Arrangement ArrangementFor(int pageWidth, int pageHeight)
{
    return pageWidth < PortraitMaximumWidth && pageHeight > pageWidth ? Arrangement::Portrait
                                                                      : Arrangement::Designed;
}

namespace {

// A status value with its caption and unit, kept together on one line of the portrait
// arrangement. Widest is the widest text the value takes, so that the next one never moves.
struct StatusGroup {
    const char* Caption;
    const char* Value;
    const char* Unit;
    const char* Widest;
};
// The portrait arrangement's two status lines; a page too narrow for one carries its last group
// over to a line of its own.
const StatusGroup PortraitStatus[2][3] = {
    { { "Label1", "Label2", nullptr, "32" }, { "Label3", "Label4", nullptr, "25" },
        { "Label9", "Label10", nullptr, "NEZVLÁDÁTE" } },
    { { "Label5", "Label6", nullptr, "100" }, { "Label7", "Label8", nullptr, "100" },
        { "Label16", "Label17", "Label18", "60" } },
};
// The designed window's own texts, shown under "Potvrď" where the page has room for them.
const char* const TitleLabels[]
    = { "Label23", "Label24", "Label25", "Label22", "Label26", "Label27" };
const char* const LetterLabels[] = { "Label13", "Label14", "Label15", "Label19" };

constexpr int FingerSize = 44;
constexpr int Margin = 8;
constexpr int Gap = 8;

} // namespace

void MainWindow::Arrange(Arrangement arrangement, int pageWidth, int pageHeight)
{
    auto* client = centralWidget();
    auto* picture = FindControl<PictureView>(*this, Picture::Image1);
    const bool portrait = arrangement == Arrangement::Portrait;
    if (!portrait) {
        for (const auto& place : m_Designed) {
            place.Control->setGeometry(place.Geometry);
            place.Control->setVisible(place.Visible);
            if (auto* label = qobject_cast<QLabel*>(place.Control))
                label->adjustSize();
        }
        client->setFixedSize(ClientWidth, ClientHeight);
        picture->SetScale(1);
        picture->SetTapHandler(nullptr);
        if (m_MenuButton)
            m_MenuButton->hide();
        menuBar()->show();
    }
    for (int row = 0; row < 4; ++row) {
        auto* box = FindControl<QCheckBox>(
            *this, static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox5) + row));
        static_cast<ChoiceBox*>(box)->SetFingerSized(portrait);
    }
    // The menus' items are spaced for a finger too.
    for (auto* menu : findChildren<QMenu*>())
        menu->setFont(portrait ? LayoutFont(16) : QFont());
    if (portrait)
        ArrangePortrait(pageWidth, pageHeight);
    m_Arrangement = arrangement;
}

void MainWindow::ArrangePortrait(int pageWidth, int pageHeight)
{
    auto* client = centralWidget();
    const int width = std::max(pageWidth, PortraitMinimumWidth);
    auto label = [client](const char* name) { return client->findChild<QLabel*>(name); };
    auto designedTop = [this](QWidget* control) {
        for (const auto& place : m_Designed) {
            if (place.Control == control)
                return place.Geometry.top();
        }
        return control->y();
    };

    // The status lines, each group where it fits, its value as far below or above its caption as
    // in the design, so that their baselines agree.
    int top = 4;
    for (const auto& line : PortraitStatus) {
        int x = Margin;
        int lineTop = top;
        int lineBottom = top;
        int captionTop = 0;
        auto startLine = [&] {
            // The tallest value of the line rises 12 pixels above its caption.
            captionTop = lineTop + 12;
            x = Margin;
        };
        startLine();
        for (const auto& group : line) {
            QLabel* caption = label(group.Caption);
            QLabel* value = label(group.Value);
            QLabel* unit = group.Unit ? label(group.Unit) : nullptr;
            caption->adjustSize();
            unit ? unit->adjustSize() : void();
            const int valueRoom
                = value->fontMetrics().horizontalAdvance(QString::fromUtf8(group.Widest));
            int groupWidth = caption->width() + 4 + valueRoom + (unit ? 4 + unit->width() : 0);
            if (x > Margin && x + groupWidth > width - Margin) {
                lineTop = lineBottom + 2;
                startLine();
            }
            caption->move(x, captionTop);
            const int valueTop = captionTop + designedTop(value) - designedTop(caption);
            value->move(x + caption->width() + 4, valueTop);
            value->adjustSize();
            lineBottom = std::max({ lineBottom, captionTop + caption->height(),
                valueTop + std::max(value->height(), value->fontMetrics().height()) });
            if (unit) {
                unit->move(value->x() + valueRoom + 4, captionTop);
                lineBottom = std::max(lineBottom, captionTop + unit->height());
            }
            x += groupWidth + Gap + 4;
        }
        top = lineBottom + 2;
    }

    auto* panel = client->findChild<QFrame*>(QStringLiteral("Panel1"));
    panel->setGeometry(Margin, top, width - 2 * Margin, 9);
    top += 9 + 4;

    // The picture across the page, scaled to its width: on a phone about 0.95 of its size, which
    // keeps a card's text near its designed size.
    auto* picture = FindControl<PictureView>(*this, Picture::Image1);
    const int pictureWidth = width - Margin;
    const double scale = double(pictureWidth) / VisibleWidth;
    picture->setGeometry(Margin / 2, top, pictureWidth, int(std::lround(VisibleHeight * scale)));
    picture->SetScale(scale);
    top = picture->geometry().bottom() + 1 + Gap;

    // The answers: a row of finger-sized targets with their letters, the program's "správně"
    // boxes under them, and the columns' names at the left.
    QLabel* yours = label("Label31");
    QLabel* choice = label("Label12");
    QLabel* correct = label("Label11");
    yours->move(Margin, top + 6);
    choice->move(Margin, top + 22);
    correct->move(Margin, top + FingerSize + 4);
    const int headingWidth = std::max({ yours->width(), choice->width(), correct->width() });
    const int boxesLeft = Margin + headingWidth + Gap;
    const int boxWidth = (width - Margin - boxesLeft - 3 * Gap) / 4;
    for (int row = 0; row < 4; ++row) {
        const int left = boxesLeft + row * (boxWidth + Gap);
        FindControl<QCheckBox>(
            *this, static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox5) + row))
            ->setGeometry(left, top, boxWidth, FingerSize);
        FindControl<QCheckBox>(*this, static_cast<CheckBox>(row))
            ->setGeometry(left + (boxWidth - CheckBoxSize) / 2, top + FingerSize + 4, CheckBoxSize,
                CheckBoxSize);
        // The letter is in its target.
        label(LetterLabels[row])->hide();
    }
    top += FingerSize + 4 + CheckBoxSize + Gap + 2;

    // "Potvrď" across the page but for the menus' button.
    if (!m_MenuButton) {
        m_MenuButton = new QPushButton(QString::fromUtf8("Nabídka"), client);
        m_MenuButton->setObjectName(QStringLiteral("PortraitMenu"));
        m_MenuButton->setFont(LayoutFont(16));
        m_MenuButton->setAutoDefault(false);
        auto* menus = new QMenu(m_MenuButton);
        menus->setObjectName(QStringLiteral("PortraitMenus"));
        for (QAction* action : menuBar()->actions())
            menus->addAction(action);
        // Opened as the menu bar opens its menus, without a loop of its own, which a page
        // cannot run.
        connect(m_MenuButton, &QPushButton::clicked, menus, [button = m_MenuButton, menus] {
            const QSize size = menus->sizeHint();
            menus->popup(button->mapToGlobal(QPoint(button->width() - size.width(),
                button->height() + size.height() <= button->window()->height() - button->y()
                    ? button->height()
                    : -size.height())));
        });
    }
    constexpr int MenuButtonWidth = 96;
    auto* confirm = FindControl<QPushButton>(*this, PushButton::Button1);
    confirm->setGeometry(Margin, top, width - 2 * Margin - Gap - MenuButtonWidth, FingerSize);
    m_MenuButton->setGeometry(width - Margin - MenuButtonWidth, top, MenuButtonWidth, FingerSize);
    m_MenuButton->show();
    menuBar()->hide();
    top += FingerSize + Gap;

    // The window's own texts under them, where the page leaves room, centred.
    int textsHeight = 0;
    for (const char* name : TitleLabels)
        textsHeight += label(name)->height() + 2;
    const bool room = top + textsHeight + Margin <= pageHeight;
    for (const char* name : TitleLabels) {
        QLabel* text = label(name);
        text->setVisible(room);
        text->move((width - text->width()) / 2, top);
        top += text->height() + 2;
    }
    if (!room)
        top -= textsHeight;

    client->setFixedSize(width, std::max(top + Margin, pageHeight));
}

void MainWindow::CentreOnScreen()
{
    // Asked now, the display answers together with the making of the native window below.
    PrepareWindowHints();
    adjustSize();
    // Made now, the native window has a frame whose size the platform may already tell.
    winId();
    CentreFrameOnScreen(*this);
}

void MainWindow::Run(const std::function<void()>& command) const
{
    if (command)
        command();
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Run(m_Commands.Activated);
    if (event->type() == QEvent::Show)
        FixWindowHints(this);
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the focused "Potvrď" presses it, as the space bar does; the window still has no
    // default button, so Enter elsewhere does nothing. A held key does not answer question after
    // question.
    auto* button1 = qobject_cast<QPushButton*>(watched);
    if (button1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsPlainEnter(*key)) {
            if (!key->isAutoRepeat())
                button1->click();
            return true;
        }
    }
    // While a question waits for its answer, that is while "Potvrď" is enabled, a letter ticks or
    // unticks the student's box of that row as the space bar does on the focused box. The focus
    // stays where it is, so that Enter on "Potvrď" then confirms. The key reaches the client area
    // when the focused control has no use for it; a held key toggles the box once.
    if (watched == centralWidget() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto row = AnswerRowOfKey(*key);
        auto* box = row ? FindControl<QCheckBox>(
                        *this, static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox5) + *row))
                        : nullptr;
        if (box && box->isEnabled()
            && FindControl<QPushButton>(*this, PushButton::Button1)->isEnabled()) {
            if (!key->isAutoRepeat())
                box->click();
            return true;
        }
    }
    // Some window managers never report the activation; the first click into the window then
    // stands in for it.
    if (event->type() == QEvent::MouseButtonPress)
        Run(m_Commands.Activated);
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Run(m_Commands.Closing);
    event->accept();
}

} // namespace brzdomat
