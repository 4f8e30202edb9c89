// Feeds arbitrary bytes to knitfleet serve's readers of outside input, one line at a time: a
// broker message (topic, a space, the payload: states, statuses, alarm events, stop reasons, job events), a web API
// request (a line starting with '/', path?query, answered from what the lines before it
// recorded, with shift sums at most two minutes old) or "+N", the clock moved on N minutes so shifts end. Nothing may crash; the write
// queue stays bounded; every answer is one of the API's codes, JSON answers parse, CSV has its
// mark. Each input starts from an empty database, so what it reaches replays from it alone.
#include "seeds.h"

#include "dashboard/dashboard.h"

#include <QDir>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace {

constexpr qint64 kStartMs = 1780000000000LL;

// Shifts follow the local clock: a zone given by name makes an input replay alike on any
// machine, and spares the C library a look at the zone file at every local time (a tenth of
// the run when the shifts are summed per request).
const bool kZone = setenv("TZ", "UTC0", 1) == 0;

// One database file for the whole run, emptied per input: making and migrating a fresh one
// each time would cost more than the input. A second connection stays open on it throughout,
// so each dashboard's opening and closing find the file's shared state already there.
std::unique_ptr<Dashboard> freshDashboard()
{
    // In memory where the system has it: the writes per input are then no disk's business.
    static const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/fuzz_dashboard-XXXXXX"));
    ABORT_IF(!kZone || !dir.isValid());
    static const QString path = dir.filePath(QStringLiteral("fleet.sqlite"));
    Dashboard::Options o;
    o.db.path = path;
    auto d = std::make_unique<Dashboard>(o);
    QString why;
    ABORT_IF(!d->open(&why));
    // Never destroyed: Qt SQL's own globals may go first at exit.
    static QSqlDatabase *keeper = nullptr;
    if (!keeper) {
        keeper = new QSqlDatabase(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-keeper")));
        keeper->setDatabaseName(path);
        ABORT_IF(!keeper->open());
    }
    QSqlQuery q(*keeper);
    ABORT_IF(!keeper->transaction());
    for (const char *table : {"samples", "alarms", "shift_summaries", "settings", "machines", "jobs"})
        ABORT_IF(!q.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    ABORT_IF(!keeper->commit());
    return d;
}

// What waits is written before each request; the shifts are summed again when two minutes
// have passed since the last sum, as knitfleet serve sums the open shift, so a run of requests
// reads the same summaries (summedAt < 0: never summed).
void request(Dashboard &dashboard, const QByteArray &line, qint64 now, qint64 *summedAt)
{
    if (*summedAt < 0 || now - *summedAt >= ShiftStore::kOpenRefreshMs) {
        ABORT_IF(!dashboard.settle(now));
        *summedAt = now;
    } else {
        ABORT_IF(!dashboard.flush());
    }
    const QUrl url(QString::fromUtf8(line));
    const DashboardApi::Answer a = dashboard.api(url.path(), QUrlQuery(url), now);
    ABORT_IF(a.status != 200 && a.status != 400 && a.status != 404);
    ABORT_IF(a.type == "application/json" && !QJsonDocument::fromJson(a.body).isObject());
    ABORT_IF(a.type.startsWith("text/csv") && !a.body.startsWith("\xEF\xBB\xBF"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    // Freed before the next input opens the file again (its lock is the knitfleet's).
    const std::unique_ptr<Dashboard> dashboard = freshDashboard();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    qint64 now = kStartMs;
    qint64 summedAt = -1;
    for (const QByteArray &line : bytes.split('\n')) {
        now += 1000;
        if (line.startsWith('/')) {
            request(*dashboard, line, now, &summedAt);
        } else if (line.startsWith('+')) {
            now += qBound(0, line.mid(1, 5).toInt(), 99999) * 60000LL;
        } else {
            const qsizetype cut = line.indexOf(' ');
            dashboard->take(line.left(cut < 0 ? line.size() : cut), cut < 0 ? QByteArray() : line.mid(cut + 1), false, now);
            ABORT_IF(dashboard->queue().size() > WriteQueue::kMax);
        }
    }
    ABORT_IF(!dashboard->settle(now));
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const std::string alarm = "knit/M01/alarm {\"code\":23,\"event\":\"raised\",\"job\":\"J1\",\"pieces\":3,\"row\":17,"
                              "\"text\":\"撞针报警\",\"time\":\"2026-12-06T10:15:02\",\"type\":2}\n";
    const std::string state = "knit/M01/state {\"job\":\"J1\",\"row\":17,\"rows\":400,\"pieces\":3,\"running\":true,\"alarm\":null}\n";
    return {alarm + "/api/alarms/pareto?format=csv\n/api/machines/M01/alarms?limit=5",
            "knit/M01/status online\n" + state + "+30\n" + state + "knit/M01/status offline\n"
                + "/api/machines/M01/samples?from=2026-01-01T00:00:00%2B08:00&to=2027-01-02&format=csv",
            state + "+600\n" + state + "/api/shifts?from=2026-01-01&machine=M01&by=machine\n/api/machines",
            "knit/M01/state {\"job\":\"J1\",\"running\":false,\"time\":\"2026-06-01T10:00:00\"}\nknit/M01/stop {\"code\":7,\"planned\":true,"
            "\"since\":\"2026-06-01T10:00:00\",\"text\":\"休息\",\"time\":\"2026-06-01T10:00:05\"}\n+700\n/api/stops/pareto?format=csv",
            state + "knit/M01/job {\"event\":\"loaded\",\"job\":\"J1\",\"sha256\":{\"cnt\":\"" + std::string(64, 'a') + "\"},"
                "\"source\":\"library\",\"time\":\"2026-06-01T10:00:00\",\"version\":3}\n/api/machines"};
}
