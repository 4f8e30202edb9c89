#pragma once

#include "record.h"

#include <QByteArray>

// The dashboard's stricter reading of what the panels publish: a state or alarm event with a
// field of the wrong type, out of range, or not JSON at all is ignored whole (and counted by
// the caller) rather than recorded with defaults.
class MessageCheck
{
public:
    static constexpr double kMaxNumber = 1e9;

    // A state whose every known field has its type and range.
    static bool state(const QByteArray &payload);
    // An alarm event read into r (kind Alarm: event, type, code, text, job, row, pieces,
    // panelTime); false for anything else.
    static bool alarm(const QByteArray &payload, Record *r);
};
