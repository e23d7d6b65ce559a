#include "ui/qt/scheduled_ticks.h"

#include <algorithm>
#include <utility>

namespace brzdomat {

ScheduledTicks::ScheduledTicks(QTimer* timer, std::function<void()> tick)
    : QObject(timer)
    , m_Timer(timer)
    , m_Tick(std::move(tick))
{
    m_Alarm.setSingleShot(true);
    m_Alarm.setTimerType(Qt::PreciseTimer);
    connect(&m_Alarm, &QTimer::timeout, this, [this] { Deliver(); });
    connect(timer, &QTimer::timeout, this, [this] { Deliver(); });
    // Both a start and a new interval of a running timer begin its schedule anew.
    m_ActiveChanged = timer->bindableActive().addNotifier([this] { Restart(); });
    m_IntervalChanged = timer->bindableInterval().addNotifier([this] { Restart(); });
    if (timer->isActive())
        Restart();
}

void ScheduledTicks::Restart()
{
    m_Alarm.stop();
    ++m_Start;
    m_Delivered = 0;
    m_Since.start();
}

void ScheduledTicks::Deliver()
{
    if (!m_Timer->isActive())
        return;
    const long long period = std::max(1, m_Timer->interval());
    // A millisecond's grace: the schedule is taken just after the timer has started.
    const long long due = (m_Since.elapsed() + 1) / period;
    const unsigned start = m_Start;
    while (m_Delivered < due && m_Start == start && m_Timer->isActive()) {
        ++m_Delivered;
        m_Tick();
    }
    if (m_Start != start || !m_Timer->isActive())
        return;
    const long long next = (m_Delivered + 1) * period - m_Since.elapsed();
    if (m_Timer->remainingTime() > next + 1)
        m_Alarm.start(static_cast<int>(std::max(0LL, next)));
}

} // namespace brzdomat
