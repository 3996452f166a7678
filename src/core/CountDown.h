#pragma once
// The connect count-down: ten digits, nine down to Zero, of which the ones shown tell how
// far an attempt of the Connect button has come; one step a second, and at the ninth the
// attempt is given up. A running count-down watches its attempt: it reports the failure
// itself when it runs out.
#include "platform/Timer.h"
#include <QObject>

namespace core {

class CountDown : public QObject
{
    Q_OBJECT
public:
    CountDown();

    // The one-second step; enabled from the start, when no digit shows a step does nothing.
    VbTimer &Timer() { return m_timer; }
    bool Shows(int digit) const { return m_shown & (1u << digit); }
    // The box around the digits.
    bool FrameShown() const { return m_frame; }
    // The digit that counts: the first shown of nine down to one; -1 when none is.
    int Counting() const;
    bool Running() const { return m_timer.Enabled() && Counting() >= 0; }

    // An attempt starts: the box and nine show, the step runs (at its own pace when it
    // already ran).
    void Begin();
    // The server has answered: a running count-down ends, its digits and box hidden.
    void Stop();
    // The attempt is cancelled: the step stops, nine to one are hidden and Zero shows.
    void Cancel();
    // The user clicked a digit: the count-down stops where it stands.
    void Hold() { m_timer.setEnabled(false); }
    // One step.
    void Step();

signals:
    // The digits or the box changed.
    void Changed();
    // The ninth step: the attempt has failed.
    void TimedOut();

private:
    void show(int digit, bool on);
    quint16 m_shown = 0;
    bool m_frame = true;
    VbTimer m_timer;
};

} // namespace core
