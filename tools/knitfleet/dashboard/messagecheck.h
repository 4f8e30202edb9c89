#pragma once

#include "record.h"

#include <QByteArray>

// The dashboard's stricter reading of what the panels publish: a state or alarm event with a
// field of the wrong type, out of range, or not JSON at all is ignored whole (and counted by
// the caller) rather than recorded with defaults. Texts lose what could make them show as
// something else.
class MessageCheck
{
public:
    static constexpr double kMaxNumber = 1e9;

    // A state whose every known field has its type and range; *plain is the payload with its
    // texts made plain (plainText), the payload itself when they were.
    static bool state(const QByteArray &payload, QByteArray *plain);
    // An alarm event read into r (kind Alarm: event, type, code, text, job, row, pieces,
    // panelTime); false for anything else.
    static bool alarm(const QByteArray &payload, Record *r);
    // The text without format characters (the bidirectional controls U+202A-202E and
    // U+2066-2069, U+200E/F, zero-width ones...) and line or paragraph separators: a name
    // cannot show as another ("J0\u202egnp.exe" as "J0exe.png").
    static QString plainText(const QString &text);
};
