#pragma once
#include <QObject>
#include <QTimer>

// A timer with an interval and an enabled flag. Enabling a running timer leaves its
// phase alone (QTimer::start would restart it). Intervals below the floor run at the
// floor: the observable behaviour of the program's polling timers is the same and the
// idle process stays quiet. Tests call fire() to run one tick.
class VbTimer : public QObject
{
    Q_OBJECT
public:
    explicit VbTimer(int intervalMs, bool enabled, QObject *parent = nullptr);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);
    int Interval() const { return m_interval; }
    void setInterval(int ms);
    void fire() { emit Timer(); }
    static constexpr int FloorMs = 100;
    // Tests stop real ticking so that only fire() runs the handler.
    static void setRealTicks(bool on);
signals:
    void Timer();
private:
    void apply();
    QTimer m_timer;
    int m_interval;
    bool m_enabled;
};
