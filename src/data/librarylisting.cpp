#include "librarylisting.h"

#include "jobname.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

const char *const LibraryListing::kExtensions[3] = {"cnt", "pat", "wrk"};

namespace {

constexpr int kFields = 10;
// A job name as the panel stores it: GBK, else UTF-8, at most this many bytes.
constexpr int kMaxNameBytes = 251;

bool wholeNumber(const QJsonValue &v, double max, qint64 *out)
{
    const double d = v.toDouble(-1);
    if (!v.isDouble() || d < 0 || d > max || d != double(qint64(d)))
        return false;
    *out = qint64(d);
    return true;
}

bool jobOf(const QJsonObject &o, LibraryListing::Job *job)
{
    qint64 version = 0;
    qint64 rows = 0;
    qint64 width = 0;
    if (!wholeNumber(o.value(QLatin1String("version")), LibraryListing::kMaxVersion, &version) || version < 1
        || !wholeNumber(o.value(QLatin1String("rows")), 1e9, &rows) || !wholeNumber(o.value(QLatin1String("width")), 1e9, &width)
        || !wholeNumber(o.value(QLatin1String("size")), 3.0 * LibraryListing::kMaxFileBytes, &job->size))
        return false;
    job->name = o.value(QLatin1String("name")).toString();
    job->version = int(version);
    job->rows = int(rows);
    job->width = int(width);
    job->uploaded = o.value(QLatin1String("uploaded")).toString();
    const QJsonObject digests = o.value(QLatin1String("sha256")).toObject();
    for (int i = 0; i < 3; ++i) {
        job->sha256[i] = digests.value(QLatin1String(LibraryListing::kExtensions[i])).toString().toLatin1();
        if (!LibraryListing::isDigest(job->sha256[i]))
            return false;
    }
    return LibraryListing::isJobName(job->name) && job->uploaded.size() <= LibraryListing::kMaxUploadedLength
        && std::none_of(job->uploaded.begin(), job->uploaded.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() > 0x7e; });
}

} // namespace

bool LibraryListing::isJobName(const QString &name)
{
    return JobName::isSafe(name) && !name.contains(QLatin1Char('.')) && JobName::encode(name).size() <= kMaxNameBytes
        && std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool LibraryListing::isDigest(const QByteArray &hex)
{
    return hex.size() == 64 && std::all_of(hex.begin(), hex.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool LibraryListing::fromJson(const QByteArray &answer, QList<Job> *jobs, QString *why)
{
    if (answer.size() > kMaxAnswerBytes) {
        *why = QStringLiteral("the list is over %1 bytes").arg(kMaxAnswerBytes);
        return false;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(answer, &error);
    const QJsonArray list = doc.object().value(QLatin1String("jobs")).toArray();
    if (error.error != QJsonParseError::NoError || !doc.object().value(QLatin1String("jobs")).isArray()) {
        *why = QStringLiteral("the list is not {\"jobs\":[...]}");
        return false;
    }
    if (list.size() > kMaxJobs) {
        *why = QStringLiteral("the list holds over %1 jobs").arg(kMaxJobs);
        return false;
    }
    QList<Job> out;
    for (int i = 0; i < list.size(); ++i) {
        Job job;
        if (!jobOf(list.at(i).toObject(), &job)) {
            *why = QStringLiteral("job %1 of the list is not a job the panel can take").arg(i + 1);
            return false;
        }
        out.append(job);
    }
    *jobs = out;
    return true;
}

QList<LibraryListing::Job> LibraryListing::newest(const QList<Job> &jobs)
{
    QList<Job> out;
    for (const Job &job : jobs) {
        auto same = std::find_if(out.begin(), out.end(), [&job](const Job &o) { return o.name == job.name; });
        if (same == out.end())
            out.append(job);
        else if (same->version < job.version)
            *same = job;
    }
    std::sort(out.begin(), out.end(), [](const Job &a, const Job &b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
    return out;
}

QByteArray LibraryListing::line(const Job &job)
{
    const QList<QByteArray> fields{job.name.toUtf8(), QByteArray::number(job.version), QByteArray::number(job.rows),
                                   QByteArray::number(job.width), QByteArray::number(job.size), job.uploaded.toLatin1(),
                                   job.sha256[0], job.sha256[1], job.sha256[2]};
    return "job\t" + fields.join('\t');
}

bool LibraryListing::fromLine(const QByteArray &line, Job *job)
{
    const QList<QByteArray> f = line.split('\t');
    if (f.size() != kFields || f[0] != "job" || !QByteArrayView(f[1]).isValidUtf8())
        return false;
    bool ok[4] = {};
    Job j;
    j.name = QString::fromUtf8(f[1]);
    j.version = f[2].toInt(&ok[0]);
    j.rows = f[3].toInt(&ok[1]);
    j.width = f[4].toInt(&ok[2]);
    j.size = f[5].toLongLong(&ok[3]);
    j.uploaded = QString::fromLatin1(f[6]);
    for (int i = 0; i < 3; ++i)
        j.sha256[i] = f[7 + i];
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || j.version < 1 || j.version > kMaxVersion || j.rows < 0 || j.width < 0 || j.size < 0
        || j.size > 3 * kMaxFileBytes || j.uploaded.size() > kMaxUploadedLength || !isJobName(j.name)
        || !isDigest(j.sha256[0]) || !isDigest(j.sha256[1]) || !isDigest(j.sha256[2]))
        return false;
    *job = j;
    return true;
}
