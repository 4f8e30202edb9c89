#pragma once

// Sets the panel's and the controller board's clock: "date -s" with the chosen date and time,
// then "hwclock -w" so the battery clock keeps it over a power-off. An impossible date (31
// February) runs nothing; the battery clock is written only after the system clock took the
// time.
class ClockSetting
{
public:
    enum Result { Done = 0, OutOfRange = 1, Failed = 2 };
    static constexpr int kFirstYear = 2000;
    static constexpr int kLastYear = 2050;

    static Result set(int year, int month, int day, int hour, int minute, int second);
};
