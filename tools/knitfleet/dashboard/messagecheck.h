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
    static constexpr int kMaxStopText = 32;

    // A reason picked for a stop, as knit/<machine>/stop carries it.
    struct Stop
    {
        int code = 0;
        bool planned = false;
        QString text;
        QString job;
        int row = 0;
        int pieces = 0;
        QString since; // the panel's clock when the stop began
        QString time;  // ... and when the reason was picked
    };

    // A job imported into or loaded on a panel, as knit/<machine>/job carries it.
    struct JobEvent
    {
        bool loaded = false; // else imported
        QString job;
        int version = 0;     // 0: from a stick
        bool fromLibrary = false;
        QString sha256[3];   // cnt, pat, wrk: 64 hexadecimal digits each, or empty
        QString time;
    };

    // A state whose every known field has its type and range; *plain is the payload with its
    // texts made plain (TelemetryMessages::plainText), the payload itself when they were.
    static bool state(const QByteArray &payload, QByteArray *plain);
    // An alarm event read into r (kind Alarm: event, type, code, text, job, row, pieces,
    // panelTime); false for anything else.
    static bool alarm(const QByteArray &payload, Record *r);
    // A stop message of the machine: code 0 to 9, planned, a text of at most kMaxStopText
    // characters, since and time the panel's times, the machine (if given) the topic's; false
    // for anything else.
    static bool stop(const QByteArray &payload, const QString &machine, Stop *s);
    // A job event: event "imported" or "loaded", job a plain job name, version 0 to a billion
    // (absent: 0), source "library" or "usb", sha256's cnt, pat and wrk 64 hexadecimal digits
    // (absent: empty), time the panel's; false for anything else.
    static bool jobEvent(const QByteArray &payload, JobEvent *e);
    // The state's config_error ("" when none, or when it is no text), made plain and short.
    static QString configError(const QByteArray &payload);
};
