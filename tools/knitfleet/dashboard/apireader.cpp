#include "apireader.h"

#include "fleetdb.h"
#include "historyqueries.h"
#include "paretostore.h"
#include "shiftstore.h"

#include <QPointer>

#include <cstdio>

struct ApiReader::Parts
{
    Parts(const DbTarget &target, const ShiftPlan &plan)
        : db(target)
        , history(&db)
        , shifts(&db, plan)
        , paretos(&db, plan)
        , api(DashboardApi::Sources{&db, &history, &shifts, &paretos, nullptr})
    {
    }
    FleetDb db;
    HistoryQueries history;
    ShiftStore shifts;
    ParetoStore paretos;
    DashboardApi api;
};

ApiReader::ApiReader(const DbTarget &target, const ShiftPlan &plan, QObject *parent)
    : QObject(parent)
    , target_(target)
    , plan_(plan)
    , worker_(new QObject)
{
    worker_->moveToThread(&thread_);
    // A connection belongs to the thread that made it: it goes there too.
    connect(&thread_, &QThread::finished, worker_, [this] { parts_.reset(); }, Qt::DirectConnection);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater, Qt::DirectConnection);
    thread_.start();
}

ApiReader::~ApiReader()
{
    thread_.quit();
    thread_.wait();
}

bool ApiReader::ask(const QString &path, const QUrlQuery &query, qint64 nowMs, QObject *context,
                    std::function<void(const DashboardApi::Answer &)> done)
{
    return run([this, path, query, nowMs](FleetDb &) { return parts_->api.answer(path, query, nowMs); }, context, std::move(done));
}

bool ApiReader::run(Work work, QObject *context, std::function<void(const DashboardApi::Answer &)> done)
{
    if (waiting_ >= kMaxWaiting)
        return false;
    ++waiting_;
    QPointer<QObject> to(context);
    QMetaObject::invokeMethod(worker_, [this, work = std::move(work), to, done = std::move(done)] {
        if (!parts_)
            parts_ = std::make_unique<Parts>(target_, plan_);
        QString why;
        if (!parts_->db.isOpen() && !parts_->db.open(&why))
            std::fprintf(stderr, "knitfleet serve: the API's database connection: %s\n", qPrintable(why));
        const DashboardApi::Answer a = work(parts_->db);
        QMetaObject::invokeMethod(this, [this, a, to, done] {
            --waiting_;
            if (to)
                done(a);
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    return true;
}
