#pragma once

#include "dashboardapi.h"
#include "dbtarget.h"
#include "shiftplan.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

// Answers the API's requests that read the database (DashboardApi::stored) on a thread of its
// own, over a connection of its own: a long read (a year's Pareto) delays the next such
// request, never the event loop, the recording or the live page. At most kMaxWaiting wait.
class ApiReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxWaiting = 16;

    ApiReader(const DbTarget &target, const ShiftPlan &plan, QObject *parent = nullptr);
    ~ApiReader() override;

    // Answers on the reader's thread, then calls done on this object's (unless context is
    // gone); false, doing nothing, when kMaxWaiting requests wait already.
    bool ask(const QString &path, const QUrlQuery &query, qint64 nowMs, QObject *context,
             std::function<void(const DashboardApi::Answer &)> done);
    // Any other work on the reader's connection (the job library's), in the same turn; the
    // connection is open when it can be (work answers 503 when it is not).
    using Work = std::function<DashboardApi::Answer(FleetDb &)>;
    bool run(Work work, QObject *context, std::function<void(const DashboardApi::Answer &)> done);

private:
    struct Parts;

    const DbTarget target_;
    const ShiftPlan plan_;
    QThread thread_;
    QObject *worker_; // lives on thread_
    std::unique_ptr<Parts> parts_; // made, used and dropped on thread_
    int waiting_ = 0;
};
