#include "ui/TimeLeft.h"

namespace leafmill {

namespace {

// Before this much time and work the rate says little.
constexpr qint64 kLeastElapsedMs = 2000;
constexpr int kLeastPercent = 2;

}  // namespace

QString timeLeft(qint64 elapsedMs, int percent)
{
    if (elapsedMs < kLeastElapsedMs || percent < kLeastPercent || percent >= 100)
        return {};
    const qint64 leftMs = elapsedMs * (100 - percent) / percent;
    const qint64 seconds = (leftMs + 999) / 1000;
    const QChar zero(u'0');
    const QString minutes = QString::number(seconds / 60 % 60);
    const QString rest = QStringLiteral(":%1").arg(seconds % 60, 2, 10, zero);
    if (seconds < 3600)
        return minutes + rest;
    return QStringLiteral("%1:%2").arg(seconds / 3600).arg(minutes, 2, zero) + rest;
}

}  // namespace leafmill
