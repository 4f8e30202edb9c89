#include "libraryroutes.h"

#include "dashboard/apireader.h"
#include "dashboard/auditlog.h"
#include "dashboard/fleetdb.h"
#include "dashboard/joblibrary.h"
#include "dashboard/machinetokens.h"
#include "dashboard/multipartform.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QUrl>

namespace {

const QString kRoot = QStringLiteral("/api/library");

DashboardApi::Answer refused(int status, const QString &why, int code = -1)
{
    QJsonObject o{{QStringLiteral("error"), why}};
    if (code >= 0)
        o.insert(QStringLiteral("code"), code);
    return {status, "application/json", QJsonDocument(o).toJson(QJsonDocument::Compact), {}};
}

// A version number as the path gives it: 1 to a billion, digits only.
int versionOf(const QString &text)
{
    bool ok = false;
    const int v = text.size() <= 10 ? text.toInt(&ok) : 0;
    return ok && v >= 1 && v <= 1000000000 && text.at(0).isDigit() ? v : 0;
}

// An upload's parts checked: the name, the comment and the three files by the panel's checks.
bool readUpload(const LibraryRoutes::Asked &a, JobLibrary::Upload *u, DashboardApi::Answer *fail)
{
    QList<MultipartForm::Part> parts;
    QString why;
    if (!MultipartForm::parse(a.body, MultipartForm::boundary(a.contentType), &parts, &why)) {
        *fail = refused(400, why);
        return false;
    }
    const MultipartForm::Part *name = MultipartForm::find(parts, "name");
    const MultipartForm::Part *comment = MultipartForm::find(parts, "comment");
    const MultipartForm::Part *files[3] = {MultipartForm::find(parts, "cnt"), MultipartForm::find(parts, "pat"),
                                           MultipartForm::find(parts, "wrk")};
    u->name = name ? JobFiles::name(name->data) : QString();
    if (u->name.isEmpty()) {
        *fail = refused(400, QStringLiteral("the name must be one plain job name: no '/', '.', control characters, at most 251 bytes"));
        return false;
    }
    if (!files[0] || !files[1] || !files[2]) {
        *fail = refused(400, QStringLiteral("an upload needs the files cnt, pat and wrk"));
        return false;
    }
    u->comment = comment ? QString::fromUtf8(comment->data) : QString();
    if (u->comment.size() > JobLibrary::kMaxComment) {
        *fail = refused(400, QStringLiteral("the comment is over %1 characters").arg(JobLibrary::kMaxComment));
        return false;
    }
    u->cnt = files[0]->data;
    u->pat = files[1]->data;
    u->wrk = files[2]->data;
    JobFiles::Refusal r;
    if (!JobFiles::check(u->cnt, u->pat, u->wrk, &u->facts, &r)) {
        *fail = refused(400, r.message, r.code);
        return false;
    }
    return true;
}

} // namespace

LibraryRoutes::LibraryRoutes(ApiReader *reader, AuditLog *audit)
    : reader_(reader)
    , audit_(audit)
{
}

bool LibraryRoutes::covers(const QString &path)
{
    return path == kRoot || path.startsWith(kRoot + QLatin1Char('/'));
}

void LibraryRoutes::answer(const Asked &a, QObject *context, const Done &done)
{
    const bool post = a.method == "POST";
    if (a.path == kRoot) {
        if (post)
            return upload(a, context, done);
        return dispatch([](FleetDb &db) { return JobLibrary(db.db()).list(); }, a, {}, {}, context, done);
    }
    const QStringList parts = a.path.mid(kRoot.size() + 1).split(QLatin1Char('/'));
    if (JobFiles::name(parts.value(0).toUtf8()).isEmpty())
        return done(HttpReply::error(400, "not a job name"));
    versionRoute(a, parts, context, done);
}

void LibraryRoutes::versionRoute(const Asked &a, const QStringList &parts, QObject *context, const Done &done)
{
    const QString name = parts.value(0);
    const int version = versionOf(parts.value(1));
    const QString last = parts.value(2);
    const bool post = a.method == "POST";
    ApiReader::Work work;
    QString action;
    QString detail = name;
    if (parts.size() == 2 && parts[1] == QLatin1String("archive") && post) {
        work = [name, a](FleetDb &db) { return JobLibrary(db.db()).archive(name, a.user, a.nowMs); };
        action = QStringLiteral("job-archive");
    } else if (parts.size() == 3 && version > 0 && last == QLatin1String("approve") && post) {
        work = [name, version, a](FleetDb &db) { return JobLibrary(db.db()).approve(name, version, a.user, a.nowMs); };
        action = QStringLiteral("job-approve");
        detail = QStringLiteral("%1 v%2").arg(name).arg(version);
    } else if (parts.size() == 3 && version > 0 && last == QLatin1String("preview.png") && !post) {
        work = [name, version, verified = verified_](FleetDb &db) { return JobLibrary(db.db(), verified.get()).preview(name, version); };
    } else if (parts.size() == 3 && version > 0 && last.startsWith(name + QLatin1Char('.')) && !post) {
        const QString ext = last.mid(name.size() + 1);
        work = [name, version, ext, verified = verified_](FleetDb &db) { return JobLibrary(db.db(), verified.get()).file(name, version, ext); };
    } else if ((parts.size() == 2 && parts[1] == QLatin1String("archive")) || (parts.size() == 3 && version > 0 && last == QLatin1String("approve"))) {
        return done(HttpReply::error(405, "approve and archive take POST only").header("Allow", "POST"));
    } else {
        return done(HttpReply::error(404, "no such job library path"));
    }
    dispatch(work, a, action, detail, context, done);
}

void LibraryRoutes::dispatch(const ApiReader::Work &work, const Asked &a, const QString &action, const QString &detail,
                             QObject *context, const Done &done)
{
    AuditLog *audit = audit_;
    const QString file = a.path.section(QLatin1Char('/'), -1);
    const auto finish = [done, audit, action, detail, a, file](const DashboardApi::Answer &r) {
        HttpReply reply = HttpReply::of(r);
        if (r.status == 200 && !action.isEmpty())
            audit->record(action, a.user, {}, a.peer.toString(), detail, a.nowMs);
        if (r.status == 200 && r.type == "application/octet-stream")
            reply.header("Content-Disposition", "attachment; filename*=UTF-8''" + QUrl::toPercentEncoding(file));
        done(reply);
    };
    const auto guarded = [work](FleetDb &db) { return db.isOpen() ? work(db) : DashboardApi::error(503, QStringLiteral("the database does not answer")); };
    if (!reader_->run(guarded, context, finish))
        done(HttpReply::error(503, "too many requests wait for the database: try again"));
}

bool LibraryRoutes::withinRate(const QByteArray &token, qint64 nowMs)
{
    const QByteArray key = QCryptographicHash::hash(token, QCryptographicHash::Sha256);
    if (uses_.size() >= kMaxTokensSeen && !uses_.contains(key)) {
        // Forget the tokens quiet for a minute; a flood of new ones waits until some are.
        for (auto it = uses_.begin(); it != uses_.end();)
            it = it->empty() || it->back() <= nowMs - 60000 ? uses_.erase(it) : std::next(it);
        if (uses_.size() >= kMaxTokensSeen)
            return false;
    }
    std::deque<qint64> &times = uses_[key];
    while (!times.empty() && times.front() <= nowMs - 60000)
        times.pop_front();
    if (int(times.size()) >= kMachineRate)
        return false;
    times.push_back(nowMs);
    return true;
}

void LibraryRoutes::answerMachine(const Asked &a, const QByteArray &token, QObject *context, const Done &done)
{
    const QStringList parts = a.path.mid(kRoot.size() + 1).split(QLatin1Char('/'));
    const bool list = a.path == kRoot;
    const bool file = covers(a.path) && !list && parts.size() == 3 && versionOf(parts[1]) > 0
                   && !JobFiles::name(parts[0].toUtf8()).isEmpty() && parts[2].startsWith(parts[0] + QLatin1Char('.'));
    if ((a.method != "GET" && a.method != "HEAD") || (!list && !file))
        return done(HttpReply::error(403, "a machine's token opens the job list and its files only"));
    if (!withinRate(token, a.nowMs)) {
        HttpReply slow = HttpReply::error(429, "over 60 requests a minute: try again later");
        slow.header("Retry-After", "60");
        return done(slow);
    }
    const QString name = parts.value(0);
    const int version = versionOf(parts.value(1));
    const QString ext = parts.value(2).mid(name.size() + 1);
    // The machine's id rides in the answer's `next`, which no library answer uses otherwise.
    const ApiReader::Work work = [token, list, name, version, ext, verified = verified_](FleetDb &db) {
        bool failed = !db.isOpen();
        const QString machine = failed ? QString() : MachineTokens::find(db.db(), token, &failed);
        if (failed)
            return DashboardApi::error(503, QStringLiteral("the database does not answer"));
        if (machine.isEmpty())
            return DashboardApi::error(401, QStringLiteral("the token is not known or revoked"));
        JobLibrary library(db.db(), verified.get());
        DashboardApi::Answer r = list ? library.released() : library.file(name, version, ext, true);
        r.next = machine.toUtf8();
        return r;
    };
    const QString detail = QStringLiteral("%1 v%2 .%3").arg(name).arg(version).arg(ext);
    const auto finish = [this, done, a, file, detail](const DashboardApi::Answer &r) {
        HttpReply reply = HttpReply::of(r);
        if (r.status == 401) {
            // At most one row a second, the others counted into it: guesses do not fill the audit.
            if (a.nowMs - refusedAt_ >= 1000) {
                audit_->record(QStringLiteral("token-refused"), {}, {}, a.peer.toString(),
                               refusedHeld_ ? QStringLiteral("%1 (and %2 more)").arg(a.path).arg(refusedHeld_) : a.path, a.nowMs);
                refusedAt_ = a.nowMs;
                refusedHeld_ = 0;
            } else {
                ++refusedHeld_;
            }
            reply.header("WWW-Authenticate", "Bearer realm=\"knitfleet\"");
        } else if (r.status == 200 && file) {
            audit_->record(QStringLiteral("job-fetch"), {}, QString::fromUtf8(r.next), a.peer.toString(), detail, a.nowMs);
        }
        done(reply);
    };
    if (!reader_->run(work, context, finish))
        done(HttpReply::error(503, "too many requests wait for the database: try again"));
}

void LibraryRoutes::upload(const Asked &a, QObject *context, const Done &done)
{
    const bool approvalNeeded = approvalNeeded_;
    // Parsed and checked on the reader's thread too: a 32 MiB body is not looked through on the
    // event loop.
    const ApiReader::Work work = [a, approvalNeeded](FleetDb &db) {
        JobLibrary::Upload u;
        DashboardApi::Answer fail;
        if (!readUpload(a, &u, &fail))
            return fail;
        if (!db.isOpen())
            return DashboardApi::error(503, QStringLiteral("the database does not answer: the job was not stored"));
        u.user = a.user;
        u.nowMs = a.nowMs;
        u.approvalNeeded = approvalNeeded;
        return JobLibrary(db.db()).upload(u);
    };
    AuditLog *audit = audit_;
    const auto finish = [done, audit, a](const DashboardApi::Answer &r) {
        if (r.status == 200 || r.status == 201) {
            const QJsonObject o = QJsonDocument::fromJson(r.body).object();
            audit->record(QStringLiteral("job-upload"), a.user, {}, a.peer.toString(),
                          QStringLiteral("%1 v%2%3").arg(o.value(QLatin1String("name")).toString()).arg(o.value(QLatin1String("version")).toInt())
                              .arg(r.status == 200 ? QStringLiteral(" (the same files again)") : QString()), a.nowMs);
        }
        done(HttpReply::of(r));
    };
    if (!reader_->run(work, context, finish))
        done(HttpReply::error(503, "too many requests wait for the database: try again"));
}
