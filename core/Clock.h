// SPDX-License-Identifier: MIT
#pragma once

// The local time of day, in seconds since midnight with its fraction. Injected
// wherever time matters so that tests can set 100.4 s or the last second before
// midnight.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() const = 0;
};

// The real clock, read from the system's local time.
class SystemClock final : public Clock {
public:
    double SecondsSinceMidnight() const override;
};
