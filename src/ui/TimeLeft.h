#pragma once

#include <QString>

namespace leafmill {

// The time a run still needs when `percent` of it took `elapsedMs`, as
// "m:ss" or "h:mm:ss"; the empty text while too little is done to tell.
QString timeLeft(qint64 elapsedMs, int percent);

}  // namespace leafmill
