#include "core/Clock.h"
#include <QLocale>
#include <cstdio>

namespace core {

QString ClockText(const QTime &time)
{
    // The designators are the system's and do not change while the program runs.
    static const QString am = QLocale().amText(), pm = QLocale().pmText();
    const int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d:%02d:%02d", h12, time.minute(), time.second());
    return QLatin1String(digits) + QLatin1Char(' ') + (time.hour() < 12 ? am : pm);
}

} // namespace core
