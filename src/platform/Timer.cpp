#include "platform/Timer.h"
#include <QDateTime>

static bool g_realTicks = true;

void VbTimer::setRealTicks(bool on) { g_realTicks = on; }

namespace {
// Milliseconds to just past the start of the next second of the wall clock.
int untilNextSecond()
{
    return 1000 - int(QDateTime::currentMSecsSinceEpoch() % 1000) + 2;
}
} // namespace

VbTimer::VbTimer(int intervalMs, bool enabled, QObject *parent)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled)
{
    connect(&m_timer, &QTimer::timeout, this, &VbTimer::tick);
    apply();
}

void VbTimer::setEnabled(bool on)
{
    if (on == m_enabled) return;
    m_enabled = on;
    apply();
}

void VbTimer::apply()
{
    if (!m_enabled || m_interval <= 0 || !g_realTicks) {
        m_timer.stop();
        return;
    }
    if (polling()) {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setSingleShot(true);
        m_timer.start(untilNextSecond());
    } else {
        m_timer.setTimerType(Qt::CoarseTimer);
        m_timer.setSingleShot(false);
        m_timer.start(m_interval);
    }
}

void VbTimer::tick()
{
    if (!m_enabled) return;
    // Armed again before the handler runs: the handler may stop this timer or delete it.
    if (polling()) apply();
    emit Timer();
}
