#pragma once
// bench/dashboard's floor figures: the stops the simulated panels make and the webhooks
// knitfleet sends for them (stop → webhook received), how far the open shift's summaries lag
// behind the clock, and a hall's TV page against the same tiles as a static file.
#include "browserprocess.h"
#include "dashboardload.h"
#include "fleetserve.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace DashboardBench {

// A loopback webhook receiver: the lag from a stop's publish to its "fired" post, per path
// (one knitfleet each).
class WebhookWatch : public QTcpServer
{
public:
    QHash<QByteArray, QHash<QString, qint64>> stopped; // path -> machine -> published
    QHash<QByteArray, std::vector<double>> lags;

    WebhookWatch()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, s, [this, s] { take(s); });
        });
    }
    QByteArray rules(const QByteArray &path) const
    {
        return "{\"rules\":[{\"name\":\"stop\",\"when\":\"stop\",\"after_s\":0,\"cooldown_s\":0,\"webhook\":\"http://127.0.0.1:"
               + QByteArray::number(serverPort()) + path + "\"}]}";
    }

private:
    void take(QTcpSocket *s)
    {
        const QByteArray all = s->property("held").toByteArray() + s->readAll();
        s->setProperty("held", all);
        const qsizetype end = all.indexOf("\r\n\r\n");
        const qsizetype at = all.toLower().indexOf("content-length:");
        if (end < 0 || at < 0 || all.size() < end + 4 + all.mid(at + 15, all.indexOf('\r', at) - at - 15).trimmed().toInt())
            return;
        const QJsonObject body = QJsonDocument::fromJson(all.mid(end + 4)).object();
        const QByteArray path = all.split(' ').value(1);
        const QString machine = body.value(QLatin1String("machine")).toString();
        const auto it = stopped[path].constFind(machine);
        if (body.value(QLatin1String("event")) == QLatin1String("fired") && it != stopped[path].constEnd()) {
            lags[path].push_back(double(QDateTime::currentMSecsSinceEpoch() - *it));
            stopped[path].erase(it);
        }
        s->write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        s->disconnectFromHost();
    }
};

// How far behind the clock the open shift's summary of a machine is, in s; -1 when it has none.
inline double openShiftLagS(FleetDb &db, const QString &machine, qint64 shiftStart)
{
    QSqlQuery q(db.db());
    q.prepare(QStringLiteral("SELECT SUM(s.knitting_s + s.stopped_s + s.nodata_s) FROM shift_summaries s JOIN machines m"
                             " ON m.id = s.machine WHERE m.name = ? AND s.start_t = ?"));
    q.addBindValue(machine);
    q.addBindValue(shiftStart);
    if (!q.exec() || !q.next() || q.value(0).isNull())
        return -1;
    return double(QDateTime::currentMSecsSinceEpoch() - shiftStart) / 1000 - q.value(0).toDouble();
}

// Navigation → everything drawn, in ms, seen by an observer that the page itself knows nothing of.
inline double pageLoadMs(BrowserProcess &browser, const QString &url, int rows)
{
    // The old page's mark is cleared first: until the new document stands, 0 is read.
    browser.evaluate(QStringLiteral("window.__drawn = 0"));
    browser.navigate(url);
    if (!QTest::qWaitFor([&] { return browser.evaluate(QStringLiteral("window.__drawn || 0")).toDouble() > 0; }, 20000))
        std::printf("  %s: not all %d drawn within 20 s\n", qPrintable(url), rows);
    return browser.evaluate(QStringLiteral("window.__drawn")).toDouble();
}

// A hall's TV page with its 500 machines, against the same tiles as a static file, the two
// loaded in turn.
inline void hallPage(FleetServe &fleet, QTemporaryDir &dir, int tiles)
{
    QString why;
    BrowserProcess browser;
    if (!BrowserProcess::available(&why) || !browser.start(QStringLiteral("about:blank"), 1920, 1080, &why)) {
        std::printf("page load left out: %s\n", qPrintable(why));
        return;
    }
    browser.addScript(QStringLiteral("new MutationObserver((l, o) => { if (document.querySelectorAll('.tile').length >= %1) {"
                                     " window.__drawn = performance.now(); o.disconnect(); } })"
                                     ".observe(document, {childList: true, subtree: true});").arg(tiles));
    QString page = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><link rel=\"stylesheet\" href=\"%1\"></head>"
                                  "<body class=\"hall\"><main id=\"halls\" style=\"--tile-w:72px;--tile-h:42px;--id-px:10px\">"
                                  "<section><h2>H1</h2><div class=\"tiles\">")
                       .arg(QStringLiteral("file://" KNIT_SOURCE_DIR "/tools/knitfleet/pages/dashboard.css"));
    for (int i = 1; i <= tiles; ++i)
        page += QStringLiteral("<div class=\"tile state-knitting\" id=\"m-%1\"><a class=\"id\" href=\"#\">%1</a><span class=\"since\">"
                               "</span><span class=\"why\"></span><span class=\"job\">M%2</span><span class=\"pieces\">3/500</span>"
                               "<span class=\"eta\">ETA 17:40</span></div>")
                    .arg(machineId(i)).arg(i % 7);
    QFile file(dir.filePath(QStringLiteral("tiles.html")));
    file.open(QIODevice::WriteOnly);
    file.write((page + QStringLiteral("</div></section></main></body></html>")).toUtf8());
    file.close();
    std::vector<double> live, still;
    for (int i = 0; i < 5; ++i) {
        live.push_back(pageLoadMs(browser, fleet.url(QStringLiteral("/?screen=hall&group=H1")), tiles));
        still.push_back(pageLoadMs(browser, QStringLiteral("file://") + file.fileName(), tiles));
    }
    const double l = quantile(live, 0.5), st = quantile(still, 0.5);
    std::printf("a hall's TV page with %d machines, navigation → all tiles drawn (target ≤ 1.5 × static):\n"
                "  knitfleet %.0f ms, static file %.0f ms, ratio %.2f (median of 5)\n", tiles, l, st, l / qMax(1.0, st));
}

} // namespace DashboardBench
