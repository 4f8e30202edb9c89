#include "joboffer.h"

#include "telemetrymessages.h"

#include "data/librarylisting.h"

#include <QJsonDocument>
#include <QJsonObject>

bool JobOffer::parse(const QByteArray &payload, JobOffer *offer)
{
    if (payload.isEmpty() || payload.size() > kMaxPayload)
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(payload);
    const QJsonObject o = doc.object();
    const QJsonValue version = o.value(QLatin1String("version"));
    const double v = version.toDouble(0);
    JobOffer r;
    r.job = o.value(QLatin1String("job")).toString();
    if (!doc.isObject() || !version.isDouble() || v < 1 || v > LibraryListing::kMaxVersion || v != double(int(v))
        || !LibraryListing::isJobName(r.job) || TelemetryMessages::plainText(r.job) != r.job)
        return false;
    r.version = int(v);
    const QJsonObject digests = o.value(QLatin1String("sha256")).toObject();
    for (int i = 0; i < 3; ++i) {
        r.sha256[i] = digests.value(QLatin1String(LibraryListing::kExtensions[i])).toString().toLatin1();
        if (!LibraryListing::isDigest(r.sha256[i]))
            return false;
    }
    r.by = TelemetryMessages::cleanText(o.value(QLatin1String("by")).toString(), kMaxBy);
    r.time = TelemetryMessages::cleanText(o.value(QLatin1String("time")).toString(), 32);
    *offer = r;
    return true;
}
