// Feeds arbitrary bytes to knitfleet serve's readers of outside input: the broker's messages
// (topic on the first line, payload after it: states, statuses and alarm events) and the
// web API's requests (the whole input as path?query). Neither may crash; the write queue stays
// bounded; every answer is one of the API's codes, JSON answers parse, CSV has its mark.
#include "seeds.h"

#include "dashboard/dashboard.h"

#include <QTemporaryDir>
#include <QJsonDocument>
#include <QUrl>


extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    // Never destroyed: Qt SQL's own globals may go first at exit.
    static Dashboard *dashboard = nullptr;
    static int inputs = 0;
    if (!dashboard) {
        Dashboard::Options o;
        o.db.path = dir.filePath(QStringLiteral("fleet.sqlite"));
        dashboard = new Dashboard(o);
        QString why;
        ABORT_IF(!dashboard->open(&why));
    }
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\n');
    const qint64 now = 1780000000000LL + inputs;
    dashboard->take(bytes.left(cut < 0 ? 0 : cut), bytes.mid(cut + 1), false, now);
    ABORT_IF(++inputs % 500 == 0 && !dashboard->settle(now));
    ABORT_IF(dashboard->queue().size() > WriteQueue::kMax);

    const QUrl url(QString::fromUtf8(bytes));
    const DashboardApi::Answer a = dashboard->api(url.path(), QUrlQuery(url), now);
    ABORT_IF(a.status != 200 && a.status != 400 && a.status != 404);
    ABORT_IF(a.type == "application/json" && !QJsonDocument::fromJson(a.body).isObject());
    ABORT_IF(a.type.startsWith("text/csv") && !a.body.startsWith("\xEF\xBB\xBF"));
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"knit/M01/alarm\n{\"code\":23,\"event\":\"raised\",\"job\":\"J1\",\"pieces\":3,\"row\":17,\"text\":\"撞针报警\","
            "\"time\":\"2026-12-06T10:15:02\",\"type\":2}",
            "knit/M01/state\n{\"job\":\"J1\",\"row\":17,\"rows\":400,\"pieces\":3,\"running\":true,\"alarm\":null}",
            "knit/M01/status\noffline",
            "/api/machines/M01/samples?from=2026-01-01T00:00:00%2B08:00&to=2026-01-02&format=csv",
            "/api/shifts?from=2026-01-01&machine=M01&by=machine",
            "/api/alarms/pareto?format=csv",
            "/api/machines/M01/alarms?limit=5"};
}
