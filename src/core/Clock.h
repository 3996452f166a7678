#pragma once
#include <QString>
#include <QTime>

namespace core {

// The time of day as the program shows it: the hour on the 12-hour clock, minutes and
// seconds with two digits each, then the system's morning or afternoon designator
// ("01:40:05 PM"). The dashboard's clock shows it and "!time" answers with it.
QString ClockText(const QTime &time);

} // namespace core
