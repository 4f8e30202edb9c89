#pragma once

#include "telemetry/reasonlist.h"

#include <QDateTime>
#include <optional>

// One stop of the machine and the reason given for it, without widgets: when the list is to be
// asked for (once per stop, ask_after_s after it began, never again once the operator picked or
// left it with Escape), which pick stands, and that knitting ends both. Times in: the panel's
// clock for the record, a monotonic clock (ms) for the wait.
class StopAsking
{
public:
    struct Pick
    {
        QDateTime since; // the panel's clock when the stop began
        ReasonList::Reason reason;
    };

    // The machine stands; a stop that stands already goes on.
    void stopped(const QDateTime &since, qint64 monotonicMs);
    // The machine knits: the stop and its reason are over.
    void knitting();

    bool standing() const { return standing_; }
    // Milliseconds from nowMs until the list is to be asked for (0: now); nullopt when it is
    // not to be (no stop, asked once already, or askAfterS 0).
    std::optional<qint64> askIn(qint64 nowMs, int askAfterS) const;
    // The list was shown, by itself or by key: not asked for again in this stop.
    void asked() { asked_ = true; }
    // The operator picked code of list: the reason now standing, false (nothing changed) when no
    // stop stands or the list has no such code.
    bool pick(int code, const ReasonList &list, Pick *out);
    // The reason given for the stop that stands, if any.
    const std::optional<Pick> &given() const { return given_; }

private:
    bool standing_ = false;
    bool asked_ = false;
    QDateTime since_;
    qint64 sinceMs_ = 0;
    std::optional<Pick> given_;
};
