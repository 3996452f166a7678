#pragma once
#include <QObject>
#include <QTimer>

// A timer with an interval and an enabled flag. Enabling a running timer leaves its
// phase alone (QTimer::start would restart it). Intervals below PollingMs belong to the
// program's polling timers, whose values are all published the moment they change: they
// tick for real once a second, at the start of each second, so the clock they show turns
// with the wall clock and every such timer shares one wake-up. Tests call fire() to run
// one tick.
class VbTimer : public QObject
{
    Q_OBJECT
public:
    explicit VbTimer(int intervalMs, bool enabled, QObject *parent = nullptr);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);
    int Interval() const { return m_interval; }
    void fire() { emit Timer(); }
    static constexpr int PollingMs = 100;
    // Tests stop real ticking so that only fire() runs the handler.
    static void setRealTicks(bool on);
signals:
    void Timer();
private:
    void apply();
    void tick();
    bool polling() const { return m_interval < PollingMs; }
    QTimer m_timer;
    const int m_interval;
    bool m_enabled;
};
