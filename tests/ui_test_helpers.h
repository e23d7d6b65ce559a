#pragma once

// Helpers for the widget tests: reaching the main window's widgets by their objectNames, and
// waiting for the next modal box to open and acting on it from inside its nested event loop, as
// a user would.

#include "ui/qt/message_dialogs.h"
#include "ui/qt/widget_helpers.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace brzdomat::testing {

// The item of "&Vybrat si test" with the caption test, or null.
inline QAction* ChosenTestItem(const QWidget& window, int test)
{
    return window.findChild<QAction*>(QStringLiteral("N") + QString::number(test) + u'1');
}

inline QWidget* ClientArea(const QWidget& window)
{
    return window.findChild<QWidget*>(QStringLiteral("ClientArea"));
}

// Watches for modal boxes while it lives and hands each new one to the callback, from inside the
// box's own event loop. A box left open for longer than the limit is closed by its title bar
// and counted, so a faulty test fails instead of hanging.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<void(QWidget*)> onBox, int limitMs = 10000)
        : m_OnBox(std::move(onBox))
        , m_LimitMs(limitMs)
    {
        m_Poll.setInterval(2);
        QObject::connect(&m_Poll, &QTimer::timeout, [this] { Check(); });
        m_Poll.start();
    }

    int Seen = 0;
    int ForcedClosed = 0;

private:
    void Check()
    {
        auto* box = QApplication::activeModalWidget();
        if (!box) {
            m_Current = nullptr;
            return;
        }
        if (box != m_Current) {
            m_Current = box;
            m_Since.start();
            ++Seen;
            // The callback may close the box and open another; the poll goes on regardless.
            m_OnBox(box);
            return;
        }
        if (m_Since.elapsed() > m_LimitMs) {
            ++ForcedClosed;
            box->close();
        }
    }

    std::function<void(QWidget*)> m_OnBox;
    int m_LimitMs;
    QTimer m_Poll;
    QPointer<QWidget> m_Current;
    QElapsedTimer m_Since;
};

inline MessageDialog* AsMessageBox(QWidget* widget)
{
    return dynamic_cast<MessageDialog*>(widget);
}
inline InputDialog* AsInputBox(QWidget* widget)
{
    return dynamic_cast<InputDialog*>(widget);
}

} // namespace brzdomat::testing
