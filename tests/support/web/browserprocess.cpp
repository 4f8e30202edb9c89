#include "browserprocess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

#include <signal.h>
#include <unistd.h>

namespace {

const char *const kChromium = "/usr/bin/chromium";
const int kWaitMs = 15000;

} // namespace

BrowserProcess::~BrowserProcess()
{
    socket_.abort();
    // Chromium runs helpers in its own process group. Asked to end, it ends them and its
    // profile writes; a kill of the first process alone left helpers that made the removed
    // profile folder again.
    const qint64 pid = process_.processId();
    if (pid > 0) {
        ::kill(-pid_t(pid), SIGTERM);
        process_.waitForFinished(5000);
        ::kill(-pid_t(pid), SIGKILL);
    }
    process_.waitForFinished(5000);
}

bool BrowserProcess::available(QString *why)
{
    *why = QStringLiteral("chromium not found: install it with scripts/setup.sh");
    return QFile::exists(QLatin1String(kChromium));
}

bool BrowserProcess::start(const QString &url, int width, int height, QString *why)
{
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });
    // Its temporary files (a socket folder it leaves behind) go with the profile.
    QDir(profile_.path()).mkdir(QStringLiteral("tmp"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), profile_.filePath(QStringLiteral("tmp")));
    process_.setProcessEnvironment(env);
    process_.start(QLatin1String(kChromium),
                   {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--disable-dev-shm-usage", "--hide-scrollbars", "--user-data-dir=" + profile_.path(),
                    "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
                    QStringLiteral("--window-size=%1,%2").arg(width).arg(height), url});
    // Chromium names its DevTools port in the profile once it listens.
    QFile portFile(profile_.filePath(QStringLiteral("DevToolsActivePort")));
    QByteArray port;
    const auto portKnown = [&] {
        if (!portFile.open(QIODevice::ReadOnly))
            return false;
        port = portFile.readLine().trimmed();
        portFile.close();
        return !port.isEmpty();
    };
    if (!QTest::qWaitFor(portKnown, kWaitMs)) {
        *why = QStringLiteral("chromium did not open its DevTools port: %1").arg(QString::fromLocal8Bit(process_.readAllStandardError().right(400)));
        return false;
    }
    QNetworkAccessManager net;
    QString target;
    const auto pageFound = [&] {
        QNetworkReply *reply = net.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json/list").arg(QString::fromLatin1(port)))));
        if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 3000))
            reply->abort();
        for (const QJsonValue &v : QJsonDocument::fromJson(reply->readAll()).array())
            if (v[QLatin1String("type")] == QLatin1String("page"))
                target = v[QLatin1String("webSocketDebuggerUrl")].toString();
        reply->deleteLater();
        return !target.isEmpty();
    };
    if (!QTest::qWaitFor(pageFound, kWaitMs)) {
        *why = QStringLiteral("chromium shows no page");
        return false;
    }
    QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString &text) {
        const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
        if (o.contains(QLatin1String("id")))
            replies_.insert(o.value(QLatin1String("id")).toInt(), o);
    });
    socket_.open(QUrl(target));
    if (!QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, kWaitMs)) {
        *why = QStringLiteral("no DevTools connection: %1").arg(socket_.errorString());
        return false;
    }
    call(QStringLiteral("Page.enable"), {});
    return true;
}

QJsonObject BrowserProcess::call(const QString &method, const QJsonObject &params)
{
    const int id = nextId_++;
    socket_.sendTextMessage(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("id"), id},
                                                                         {QStringLiteral("method"), method},
                                                                         {QStringLiteral("params"), params}})
                                                  .toJson(QJsonDocument::Compact)));
    if (!QTest::qWaitFor([this, id] { return replies_.contains(id); }, kWaitMs))
        return QJsonObject();
    return replies_.take(id).value(QLatin1String("result")).toObject();
}

QJsonValue BrowserProcess::evaluate(const QString &expression)
{
    const QJsonObject r = call(QStringLiteral("Runtime.evaluate"), {{QStringLiteral("expression"), expression},
                                                                     {QStringLiteral("returnByValue"), true},
                                                                     {QStringLiteral("awaitPromise"), true}});
    return r.value(QLatin1String("result")).toObject().value(QLatin1String("value"));
}

bool BrowserProcess::screenshot(const QString &path)
{
    const QJsonObject r = call(QStringLiteral("Page.captureScreenshot"), {{QStringLiteral("format"), QStringLiteral("png")}});
    QFile f(path);
    const QByteArray png = QByteArray::fromBase64(r.value(QLatin1String("data")).toString().toLatin1());
    return !png.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(png) == png.size();
}

void BrowserProcess::addScript(const QString &source)
{
    call(QStringLiteral("Page.addScriptToEvaluateOnNewDocument"), {{QStringLiteral("source"), source}});
}

void BrowserProcess::navigate(const QString &url)
{
    call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}});
}

void BrowserProcess::emulate(int width, int height, bool mobile)
{
    call(QStringLiteral("Emulation.setDeviceMetricsOverride"), {{QStringLiteral("width"), width},
                                                                 {QStringLiteral("height"), height},
                                                                 {QStringLiteral("deviceScaleFactor"), 1},
                                                                 {QStringLiteral("mobile"), mobile}});
}
