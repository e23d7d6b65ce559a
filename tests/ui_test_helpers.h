#pragma once

// Helpers for the widget tests: waiting for the next modal box to open and acting on it from
// inside its nested event loop, as a user would.

#include "ui/qt/message_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace brzdomat::testing {

// Watches for modal boxes while it lives and hands each new one to the callback, from inside the
// box's own event loop. A box left open for longer than the limit is closed by its title bar
// and counted, so a faulty test fails instead of hanging.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<void(QWidget*)> onBox, int limitMs = 10000)
        : OnBox(std::move(onBox))
        , LimitMs(limitMs)
    {
        Poll.setInterval(2);
        QObject::connect(&Poll, &QTimer::timeout, [this] { Check(); });
        Poll.start();
    }

    int Seen = 0;
    int ForcedClosed = 0;

private:
    void Check()
    {
        auto* box = QApplication::activeModalWidget();
        if (!box) {
            Current = nullptr;
            return;
        }
        if (box != Current) {
            Current = box;
            Since.start();
            ++Seen;
            // The callback may close the box and open another; the poll goes on regardless.
            OnBox(box);
            return;
        }
        if (Since.elapsed() > LimitMs) {
            ++ForcedClosed;
            box->close();
        }
    }

    std::function<void(QWidget*)> OnBox;
    int LimitMs;
    QTimer Poll;
    QPointer<QWidget> Current;
    QElapsedTimer Since;
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
