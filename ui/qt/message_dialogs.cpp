#include "ui/qt/message_dialogs.h"

#include "ui/control_names.h"
#include "ui/qt/widget_helpers.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

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
    : QDialog(parent, DialogFlags())
    , m_Icon(icon)
{
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(caption);
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

    // The text wraps at half the screen's width. Its label gets the exact size the wrapped text
    // needs, so a short message makes a small box.
    m_TextLabel = new QLabel(text, this);
    m_TextLabel->setObjectName(QStringLiteral("Text"));
    m_TextLabel->setTextFormat(Qt::PlainText);
    m_TextLabel->setWordWrap(true);
    m_TextLabel->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* screen = ScreenOf(*this);
    int wrapWidth = screen ? screen->geometry().width() / 2 : 640;
    auto needed = m_TextLabel->fontMetrics().boundingRect(
        QRect(0, 0, wrapWidth, 1 << 20), Qt::TextWordWrap | Qt::TextExpandTabs, text);
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
    QDialog::keyPressEvent(event);
}

void MessageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreFrameOnScreen(*this);
}

InputDialog::InputDialog(
    QWidget* parent, const QString& caption, const QString& prompt, const QString& defaultText)
    : QDialog(parent, DialogFlags())
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

void InputDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreFrameOnScreen(*this);
}

PressedButton RunMessageBox(QWidget* parent, const QString& caption, MessageIcon icon,
    const QString& text, ButtonSet buttons)
{
    // Guarded: should the parent window be destroyed while the box is open, the box goes with it
    // and counts as closed by its title bar.
    QPointer<MessageDialog> box = new MessageDialog(parent, caption, icon, text, buttons);
    box->exec();
    if (!box)
        return PressedButton::Cancel;
    auto pressed = box->Pressed();
    delete box;
    return pressed;
}

std::string RunInputBox(QWidget* parent, std::string_view caption, std::string_view prompt,
    std::string_view defaultText)
{
    QPointer<InputDialog> box
        = new InputDialog(parent, FromUtf8(caption), FromUtf8(prompt), FromUtf8(defaultText));
    box->exec();
    if (!box)
        return std::string { defaultText };
    auto reply = box->Reply().toStdString();
    delete box;
    return reply;
}

} // namespace brzdomat
