#pragma once

#include "historylog.h"

// Told by the machine's history of its events as they happen (the panel's telemetry follows
// it): each alarm event as its log line carries it, each start and stop of the machine, and each
// reason the operator gave for a stop.
class HistoryObserver
{
public:
    virtual ~HistoryObserver() = default;
    virtual void alarmLogged(const HistoryLog::AlarmEvent &event) = 0;
    virtual void runLogged(bool started) = 0;
    virtual void reasonLogged(const HistoryLog::ReasonEvent &event) = 0;
};
