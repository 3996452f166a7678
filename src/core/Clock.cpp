#include "core/Clock.h"
#include <QLocale>

namespace core {

QString ClockText(const QTime &time)
{
    const int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QLocale loc;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(h12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? loc.amText() : loc.pmText());
}

} // namespace core
