#include "ui/qt/message_dialogs.h"

#include "ui/control_names.h"
#include "ui/qt/widget_helpers.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>
#include <memory>
#include <utility>

namespace brzdomat {

namespace {

constexpr std::array ButtonOrder { PressedButton::Yes, PressedButton::No, PressedButton::Ok,
    PressedButton::Cancel };

// The size of a push button in the system's boxes at 96 dots per inch.
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;

QPushButton* MakeButton(QWidget* parent, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setMinimumSize(ButtonWidth, ButtonHeight);
    return button;
}

std::size_t Index(PressedButton button)
{
    return static_cast<std::size_t>(button);
}

QString ButtonCaption(PressedButton button)
{
    switch (button) {
    case PressedButton::Yes:
        return QStringLiteral("&Yes");
    case PressedButton::No:
        return QStringLiteral("&No");
    case PressedButton::Ok:
        return QStringLiteral("OK");
    case PressedButton::Cancel:
        return QStringLiteral("Cancel");
    }
    return {};
}

// A screen reader announces an alert with its text as soon as the box opens.
QAccessibleInterface* MessageBoxAccessible(MessageDialog* box)
{
    return new QAccessibleWidget(box, QAccessible::AlertMessage);
}

QString IconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QStringLiteral("Chyba");
    case MessageIcon::Information:
        return QStringLiteral("Informace");
    case MessageIcon::Question:
        return QString::fromUtf8("Otázka");
    }
    return {};
}

// Lines at most `width` wide. A word longer than a line is broken inside, so every character of
// a long reply quoted in a message stays visible.
QSize LayOutLines(QTextLayout& layout, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal top = 0;
    qreal widest = 0;
    for (auto line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, top));
        top += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return QSize(static_cast<int>(std::ceil(widest)), static_cast<int>(std::ceil(top)));
}

QString LaidOutText(const QString& text)
{
    QString laidOut = text;
    laidOut.replace(u'\n', QChar::LineSeparator);
    return laidOut;
}

// The message text, drawn with the breaks of LayOutLines.
class MessageText : public QLabel {
public:
    MessageText(const QString& text, QWidget* parent)
        : QLabel(text, parent)
    {
        setTextFormat(Qt::PlainText);
        setTextInteractionFlags(Qt::NoTextInteraction);
    }

    QSize Needed(int wrapWidth) const
    {
        QTextLayout layout(LaidOutText(text()), font());
        return LayOutLines(layout, wrapWidth);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        QTextLayout layout(LaidOutText(text()), font());
        LayOutLines(layout, width());
        layout.draw(&painter, QPointF(0, 0));
    }
};

} // namespace

QString KindCaption(MessageKind kind)
{
    return FromUtf8(KindName(kind));
}

MessageIcon KindIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return MessageIcon::Stop;
    case MessageKind::Information:
        return MessageIcon::Information;
    case MessageKind::Confirmation:
        return MessageIcon::Question;
    }
    return MessageIcon::Stop;
}

MessageDialog::MessageDialog(QWidget* parent, const QString& caption, MessageIcon icon,
    const QString& text, ButtonSet buttons)
    : FixedSizeDialog(parent)
    , m_Icon(icon)
{
    InstallAccessible<MessageDialog, &MessageBoxAccessible>();
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(caption);
    setAccessibleDescription(text);
    setModal(true);

    auto pixmapKind = icon == MessageIcon::Stop ? QStyle::SP_MessageBoxCritical
        : icon == MessageIcon::Information      ? QStyle::SP_MessageBoxInformation
                                                : QStyle::SP_MessageBoxQuestion;
    int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    auto* iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("Icon"));
    iconLabel->setPixmap(
        style()->standardIcon(pixmapKind, nullptr, this).pixmap(iconSize, iconSize));
    iconLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    iconLabel->setAccessibleName(IconName(icon));

    // The text wraps at half the screen's width. Its label gets the exact size the wrapped text
    // needs, so a short message makes a small box.
    auto* messageText = new MessageText(text, this);
    m_TextLabel = messageText;
    m_TextLabel->setObjectName(QStringLiteral("Text"));
    auto* screen = ScreenOf(*this);
    int wrapWidth = screen ? screen->geometry().width() / 2 : 640;
    auto needed = messageText->Needed(wrapWidth);
    m_TextLabel->setFixedSize(std::min(needed.width() + 1, wrapWidth), needed.height());

    auto* textRow = new QHBoxLayout;
    textRow->setSpacing(12);
    textRow->addWidget(iconLabel, 0, Qt::AlignTop);
    textRow->addWidget(m_TextLabel, 1, Qt::AlignVCenter);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(6);
    buttonRow->addStretch(1);
    bool hasOk = buttons == ButtonSet::Ok;
    for (auto kind : ButtonOrder) {
        bool present = hasOk ? kind == PressedButton::Ok
                             : kind == PressedButton::Yes || kind == PressedButton::No;
        if (!present)
            continue;
        auto* button = MakeButton(this, ButtonCaption(kind));
        button->setObjectName(QStringLiteral("Button") + ButtonCaption(kind).remove(u'&'));
        connect(button, &QPushButton::clicked, this, [this, kind] { Finish(kind); });
        buttonRow->addWidget(button);
        m_Buttons[Index(kind)] = button;
    }
    buttonRow->addStretch(1);

    // Enter presses OK if there is one, else Yes; Escape presses Cancel, else No, else OK.
    m_DefaultButton = hasOk ? PressedButton::Ok : PressedButton::Yes;
    m_EscapeButton = m_Buttons[Index(PressedButton::Cancel)] ? PressedButton::Cancel
        : m_Buttons[Index(PressedButton::No)]                ? PressedButton::No
                                                             : PressedButton::Ok;
    m_Buttons[Index(m_DefaultButton)]->setDefault(true);
    m_Buttons[Index(m_DefaultButton)]->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(14);
    layout->addLayout(textRow);
    layout->addLayout(buttonRow);
}

QPushButton* MessageDialog::Button(PressedButton kind) const
{
    return m_Buttons[Index(kind)];
}

void MessageDialog::Finish(PressedButton kind)
{
    m_Pressed = kind;
    done(static_cast<int>(kind) + 1);
}

void MessageDialog::reject()
{
    Finish(PressedButton::Cancel);
}

void MessageDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Finish(m_EscapeButton);
        return;
    }
    // The accelerator letter alone presses its button, as in the system's own boxes; with Alt it
    // is the usual shortcut.
    if ((event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        for (auto kind : ButtonOrder) {
            auto* button = m_Buttons[Index(kind)];
            if (!button)
                continue;
            auto accelerator = QKeySequence::mnemonic(button->text());
            if (!accelerator.isEmpty() && accelerator[0].key() == event->key()) {
                button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

InputDialog::InputDialog(
    QWidget* parent, const QString& caption, const QString& prompt, const QString& defaultText)
    : FixedSizeDialog(parent)
    , m_DefaultText(defaultText)
{
    setObjectName(QStringLiteral("InputBox"));
    setWindowTitle(caption);
    setModal(true);

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName(QStringLiteral("Prompt"));
    promptLabel->setTextFormat(Qt::PlainText);

    m_Edit = new QLineEdit(this);
    m_Edit->setObjectName(QStringLiteral("Edit"));
    m_Edit->setMaxLength(InputBoxMaximumLength);
    m_Edit->setText(defaultText);
    m_Edit->selectAll();
    m_Edit->setMinimumWidth(240);
    promptLabel->setBuddy(m_Edit);

    m_OkButton = MakeButton(this, ButtonCaption(PressedButton::Ok));
    m_OkButton->setObjectName(QStringLiteral("ButtonOK"));
    m_OkButton->setDefault(true);
    m_CancelButton = MakeButton(this, ButtonCaption(PressedButton::Cancel));
    m_CancelButton->setObjectName(QStringLiteral("ButtonCancel"));
    connect(m_OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(6);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_OkButton);
    buttonRow->addWidget(m_CancelButton);
    buttonRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addWidget(promptLabel);
    layout->addWidget(m_Edit);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    m_Edit->setFocus();
}

QString InputDialog::Reply() const
{
    return result() == Accepted ? m_Edit->text() : m_DefaultText;
}

bool WhenClosed::await_ready()
{
#ifdef __EMSCRIPTEN__
    return !m_Dialog;
#else
    if (m_Dialog)
        m_Result = m_Dialog->exec();
    return true;
#endif
}

void WhenClosed::await_suspend(std::coroutine_handle<> waiter)
{
    // Resumed from the event loop rather than from inside the dialog's signal, as exec() returns:
    // the waiter may delete the dialog.
    auto closed = std::make_shared<bool>(false);
    auto resume = [this, waiter, closed](int result) {
        if (std::exchange(*closed, true))
            return;
        m_Result = result;
        QMetaObject::invokeMethod(
            qApp, [waiter]() mutable { waiter.resume(); }, Qt::QueuedConnection);
    };
    QObject::connect(m_Dialog, &QDialog::finished, m_Dialog, resume);
    QObject::connect(m_Dialog, &QObject::destroyed, qApp, [resume] { resume(QDialog::Rejected); });
    m_Dialog->setWindowModality(Qt::ApplicationModal);
    m_Dialog->show();
}

Reply<PressedButton> RunMessageBox(
    QWidget* parent, QString caption, MessageIcon icon, QString text, ButtonSet buttons)
{
    // Guarded: should the parent window be destroyed while the box is open, the box goes with it
    // and counts as closed by its title bar.
    QPointer<MessageDialog> box = new MessageDialog(parent, caption, icon, text, buttons);
    co_await WhenClosed(box);
    if (!box)
        co_return PressedButton::Cancel;
    auto pressed = box->Pressed();
    delete box;
    co_return pressed;
}

Reply<std::string> RunInputBox(
    QWidget* parent, std::string_view caption, std::string_view prompt, std::string defaultText)
{
    QPointer<InputDialog> box
        = new InputDialog(parent, FromUtf8(caption), FromUtf8(prompt), FromUtf8(defaultText));
    co_await WhenClosed(box);
    if (!box)
        co_return defaultText;
    auto reply = box->Reply().toStdString();
    delete box;
    co_return reply;
}

} // namespace brzdomat
