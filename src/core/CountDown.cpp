#include "core/CountDown.h"

namespace core {

CountDown::CountDown() : m_timer(1000, true) { connect(&m_timer, &VbTimer::Timer, this, &CountDown::Step); }

void CountDown::show(int digit, bool on)
{
    if (on) m_shown |= quint16(1u << digit);
    else m_shown &= quint16(~(1u << digit));
}

int CountDown::Counting() const
{
    for (int d = 9; d >= 1; --d)
        if (Shows(d)) return d;
    return -1;
}

void CountDown::Begin()
{
    m_frame = true;
    show(9, true);
    emit Changed();
    m_timer.setEnabled(true);
}

void CountDown::Stop()
{
    if (!m_timer.Enabled()) return;
    m_timer.setEnabled(false);
    m_shown = 0;
    m_frame = false;
    emit Changed();
}

void CountDown::Cancel()
{
    m_timer.setEnabled(false);
    m_shown = 1;  // Zero alone
    emit Changed();
}

void CountDown::Step()
{
    const int shown = Counting();
    if (shown < 0) return;
    if (shown == 9) {
        // Whatever an earlier attempt left goes with the first step.
        m_shown = 0;
        show(8, true);
    } else {
        show(shown - 1, true);
        show(shown, false);
    }
    emit Changed();
    // The last step: the attempt has failed.
    if (shown == 1) emit TimedOut();
}

} // namespace core
