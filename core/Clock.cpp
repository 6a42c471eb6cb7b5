// SPDX-License-Identifier: MIT
#include "core/Clock.h"

#include <QTime>

double SystemClock::SecondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}
