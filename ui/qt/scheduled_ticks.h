#pragma once

// A periodic timer's ticks kept to their schedule. A repeating Qt timer that comes a whole period
// late gives one tick, not one for each period it missed, and counts its next period from then: a
// page left in a hidden or frozen browser tab during a test run, or a program held up as long,
// would lose the minutes of the test clock that it missed and tick late ever after. Here the n-th
// tick is due n periods after the timer was started and every tick due comes: those missed at
// once, one after the other, and the next one at its time.

#include <QElapsedTimer>
#include <QObject>
#include <QProperty>
#include <QTimer>

#include <functional>

namespace brzdomat {

class ScheduledTicks : public QObject {
public:
    // Calls tick() once for every period of the timer while it runs; a child of the timer. The
    // timer's own timeout is for this alone.
    ScheduledTicks(QTimer* timer, std::function<void()> tick);

private:
    void Restart();
    void Deliver();

    QTimer* m_Timer;
    std::function<void()> m_Tick;
    QElapsedTimer m_Since;
    long long m_Delivered = 0;
    // Which start of the timer the ticks belong to: a tick that waits in a box may outlive it.
    unsigned m_Start = 0;
    // Where the timer counts its next period from a late tick, this comes at the next tick's time.
    QTimer m_Alarm;
    QPropertyNotifier m_ActiveChanged;
    QPropertyNotifier m_IntervalChanged;
};

} // namespace brzdomat
