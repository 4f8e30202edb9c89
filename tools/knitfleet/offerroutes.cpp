#include "offerroutes.h"

#include "dashboard/apireader.h"
#include "dashboard/auditlog.h"
#include "dashboard/fleetdb.h"
#include "dashboard/jobassignments.h"
#include "dashboard/recorder.h"

#include "telemetry/outbox.h"
#include "telemetry/telemetryconfig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

const QString kRoot = QStringLiteral("/api/machines/");

} // namespace

OfferRoutes::OfferRoutes(ApiReader *reader, AuditLog *audit, const Recorder *recorder)
    : reader_(reader)
    , audit_(audit)
    , recorder_(recorder)
{
}

bool OfferRoutes::covers(const QString &path)
{
    const QStringList parts = path.mid(kRoot.size()).split(QLatin1Char('/'));
    return path.startsWith(kRoot) && parts.size() == 2 && parts[1] == QLatin1String("job");
}

QString OfferRoutes::machineOf(const QString &path)
{
    return path.mid(kRoot.size()).section(QLatin1Char('/'), 0, 0);
}

QByteArray OfferRoutes::topic(const QString &machine)
{
    return "knit/" + machine.toUtf8() + "/offer";
}

void OfferRoutes::answer(const Asked &a, QObject *context, const Done &done)
{
    const QString machine = machineOf(a.path);
    if (!TelemetryConfig::isMachineId(machine))
        return done(HttpReply::error(404, "no such machine"));
    JobAssignments::Asked asked{machine, {}, 0, a.user, a.nowMs, recorder_->fleet().find(machine) != nullptr};
    QString why;
    const bool post = a.method == "POST";
    if (post && !JobAssignments::readBody(a.body, a.contentType.startsWith("application/x-www-form-urlencoded"), &asked.job,
                                          &asked.version, &why))
        return done(HttpReply::error(400, why.toUtf8()));
    const ApiReader::Work work = [asked, post](FleetDb &db) {
        if (!db.isOpen())
            return DashboardApi::error(503, QStringLiteral("the database does not answer: nothing was assigned"));
        return post ? JobAssignments::assign(db.db(), asked) : JobAssignments::current(db.db(), asked.machine);
    };
    const auto finish = [this, done, a, post, machine](const DashboardApi::Answer &r) {
        if (post && r.status == 200) {
            // Retained, so a panel that starts later still finds it; empty clears it on the broker.
            const QJsonValue offer = QJsonDocument::fromJson(r.body).object().value(QLatin1String("offer"));
            const QByteArray payload = offer.isObject() ? QJsonDocument(offer.toObject()).toJson(QJsonDocument::Compact) : QByteArray();
            if (outbox_)
                outbox_->push({Outbox::Kind::State, topic(machine), payload, true, 0});
            const QJsonObject o = offer.toObject();
            audit_->record(QStringLiteral("job-assign"), a.user, machine, a.peer.toString(),
                           offer.isObject() ? QStringLiteral("%1 v%2").arg(o.value(QLatin1String("job")).toString()).arg(o.value(QLatin1String("version")).toInt())
                                            : QStringLiteral("cleared"), a.nowMs);
        }
        done(HttpReply::of(r));
    };
    if (!reader_->run(work, context, finish))
        done(HttpReply::error(503, "too many requests wait for the database: try again"));
}
