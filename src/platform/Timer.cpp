#include "platform/Timer.h"
#include <algorithm>

static bool g_realTicks = true;

void VbTimer::setRealTicks(bool on) { g_realTicks = on; }

VbTimer::VbTimer(int intervalMs, bool enabled, QObject *parent)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { if (m_enabled) emit Timer(); });
    apply();
}

void VbTimer::setEnabled(bool on)
{
    if (on == m_enabled) return;
    m_enabled = on;
    apply();
}

void VbTimer::setInterval(int ms)
{
    m_interval = ms;
    if (m_timer.isActive()) m_timer.start(std::max(m_interval, FloorMs));
}

void VbTimer::apply()
{
    if (m_enabled && m_interval > 0 && g_realTicks)
        m_timer.start(std::max(m_interval, FloorMs));
    else
        m_timer.stop();
}
