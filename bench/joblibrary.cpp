// The job library's costs on this machine, against one knitfleet serve (SQLite, accounts,
// --require-approval) and its own mosquitto on loopback:
//   - an upload of a 1 MiB job with the panel's checks: p95 of 20 (target < 300 ms);
//   - a successful login, argon2id at the interactive limits: median of 10 (target < 0.5 s
//     on 2 cores);
//   - /library with 10,000 versions in headless Chromium, navigation → every row drawn,
//     against the same table saved as a static file: medians of 5, loaded in turn (target
//     ≤ 1.5 × static);
//   - the panel's import of a released 1 MiB job against the stick import of the same files
//     (bench/joblibraryimport.h; target ≤ 1.5 × the stick's).
// Prints the figures (those named on the command line, else all); never fails.
#include "joblibrary.h"
#include "joblibraryimport.h"

#include "browserprocess.h"
#include "dashboardfloor.h"
#include "dashboardload.h"

#include "dashboard/dbtarget.h"
#include "dashboard/fleetdb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>
#include <utility>
#include <vector>

using DashboardBench::quantile;

namespace JobLibraryBench {

namespace {

const QByteArray kHost = " HTTP/1.1\r\nHost: 127.0.0.1\r\n";

FleetServe::Reply login(const Setup &s)
{
    const QByteArray form = "user=" + s.user + "&password=" + s.password;
    return s.fleet.request("POST /login" + kHost + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                           + QByteArray::number(form.size()) + "\r\n\r\n" + form, 10000);
}

} // namespace

bool start(Setup &s)
{
    QString why;
    if (!BrokerProcess::available(&why) || !s.broker.start(&why)) {
        std::printf("no broker: %s\n", qPrintable(why));
        return false;
    }
    s.db = s.dir.filePath(QStringLiteral("fleet.sqlite"));
    QProcess add;
    startOwnProgram(add, QStringLiteral(KNITFLEET_PATH), {"user", "add", QString::fromLatin1(s.user), "--role", "supervisor", "--db", s.db});
    add.write(s.password + '\n');
    add.closeWriteChannel();
    if (!add.waitForFinished(30000) || add.exitCode() != 0
        || !s.fleet.start({"--url", s.broker.url(), "--db", s.db, "--require-approval"})) {
        std::printf("knitfleet serve did not start\n");
        return false;
    }
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Set-Cookie: (knitfleet_session=[^;]+);"))
                                          .match(QString::fromLatin1(login(s).head));
    s.jar = "Cookie: " + m.captured(1).toLatin1() + "\r\n";
    s.csrf = QJsonDocument::fromJson(s.fleet.get("/api/session", s.jar).body).object().value(QLatin1String("csrf")).toString().toLatin1();
    if (!m.hasMatch() || s.csrf.isEmpty())
        std::printf("no session for %s\n", s.user.constData());
    return m.hasMatch() && !s.csrf.isEmpty();
}

QString makeJob(const Setup &s, const QByteArray &name, const QStringList &arguments)
{
    QProcess make;
    startOwnProgram(make, QStringLiteral(KNITJOB_PATH), QStringList{"make", QString::fromLatin1(name), "--dir", s.dir.path()} + arguments);
    const bool made = make.waitForFinished(60000) && make.exitCode() == 0;
    return made ? s.dir.filePath(QString::fromLatin1(name)) : QString();
}

int upload(const Setup &s, const QString &folder, const QByteArray &name)
{
    QByteArray body = "--b0undary\r\nContent-Disposition: form-data; name=\"name\"\r\n\r\n" + name + "\r\n";
    for (const char *ext : {"cnt", "pat", "wrk"}) {
        QFile f(folder + QLatin1Char('/') + QString::fromLatin1(name) + QLatin1Char('.') + QLatin1String(ext));
        body += "--b0undary\r\nContent-Disposition: form-data; name=\"" + QByteArray(ext) + "\"; filename=\"" + name + '.' + ext
              + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()) + "\r\n";
    }
    body += "--b0undary--\r\n";
    return s.fleet.request("POST /api/library" + kHost + s.jar + "X-CSRF-Token: " + s.csrf
                           + "\r\nContent-Type: multipart/form-data; boundary=b0undary\r\nContent-Length: "
                           + QByteArray::number(body.size()) + "\r\n\r\n" + body, 30000).status;
}

namespace {

// Twenty 1 MiB jobs (a 1024 × 1792 pattern and 1,024 rows; each its own rows, so each is
// stored as a version), each uploaded and checked as the page sends it.
void uploads(Setup &s)
{
    std::vector<QString> folders;
    for (int i = 0; i < 20; ++i)
        folders.push_back(makeJob(s, "BIG" + QByteArray::number(i), {"--width", "1024", "--height", "1792", "--rows", QString::number(1024 - i)}));
    qint64 bytes = 0;
    for (const char *ext : {".cnt", ".pat", ".wrk"})
        bytes += QFileInfo(folders[0] + QStringLiteral("/BIG0") + QLatin1String(ext)).size();
    std::vector<double> ms;
    int failed = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        failed += upload(s, folders[std::size_t(i)], "BIG" + QByteArray::number(i)) != 201;
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("an upload of a %.2f MiB job with its checks (target p95 < 300 ms):\n  p50 %.0f ms, p95 %.0f ms (20 uploads%s)\n",
                double(bytes) / 1048576, quantile(ms, 0.5), quantile(ms, 0.95),
                failed ? qPrintable(QStringLiteral(", %1 refused").arg(failed)) : "");
}

// A right password's login, the argon2id check included: request → the session's 303.
void logins(Setup &s)
{
    std::vector<double> ms;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer clock;
        clock.start();
        const int status = login(s).status;
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (status != 303)
            std::printf("  login %d answered %d\n", i, status);
    }
    std::printf("a successful login (target < 0.5 s on 2 cores; %d cores here):\n  median %.0f ms, slowest %.0f ms (10 logins)\n",
                QThread::idealThreadCount(), quantile(ms, 0.5), quantile(ms, 1.0));
}

// 10,000 versions: 100 names of 100 versions each, rows copied from one real upload's.
bool fillLibrary(Setup &s, int versions)
{
    const QString folder = makeJob(s, "J0", {});
    if (folder.isEmpty() || upload(s, folder, "J0") != 201)
        return false;
    DbTarget target;
    QString why;
    DbTarget::parse(s.db, &target, &why);
    FleetDb db(target);
    if (!db.open(&why))
        return false;
    QSqlDatabase &d = db.db();
    QSqlQuery q(d);
    bool ok = d.transaction();
    for (int n = 0; ok && n < versions / 100; ++n) {
        const QString name = QStringLiteral("L%1").arg(n, 3, 10, QLatin1Char('0'));
        ok = q.exec(QStringLiteral("INSERT INTO library_names (name, archived) VALUES ('%1', 0)").arg(name));
        for (int v = 1; ok && v <= 100; ++v)
            ok = q.exec(QStringLiteral("INSERT INTO library_versions SELECT '%1', %2, cnt_sha, pat_sha, wrk_sha, rows_n, width, size,"
                                       " uploader, uploaded_t + %2, 'bench', approved_by, approved_t FROM library_versions"
                                       " WHERE name = 'J0' AND version = 1").arg(name).arg(v));
    }
    ok = ok && d.commit();
    if (!ok)
        std::printf("the library's rows were not written: %s\n", qPrintable(q.lastError().text()));
    return ok;
}

// The browser's own login, through the form, so its session is the page's.
bool browserLogin(BrowserProcess &browser, const Setup &s)
{
    browser.navigate(s.fleet.url(QStringLiteral("/login")));
    if (!QTest::qWaitFor([&] { return browser.evaluate(QStringLiteral("!!document.querySelector('button#login')")).toBool(); }, 20000))
        return false;
    browser.evaluate(QStringLiteral("document.querySelector('[name=user]').value = '%1';"
                                    "document.querySelector('[name=password]').value = '%2';"
                                    "document.querySelector('button#login').click()")
                         .arg(QString::fromLatin1(s.user), QString::fromLatin1(s.password)));
    return QTest::qWaitFor([&] { return browser.evaluate(QStringLiteral("!!document.getElementById('halls')")).toBool(); }, 20000);
}

void libraryPage(Setup &s)
{
    const int versions = 10000;
    QString why;
    BrowserProcess browser;
    if (!fillLibrary(s, versions)) {
        std::printf("/library left out: its 10,000 versions were not written\n");
        return;
    }
    if (!BrowserProcess::available(&why) || !browser.start(QStringLiteral("about:blank"), 1920, 1080, &why) || !browserLogin(browser, s)) {
        std::printf("/library left out: %s\n", why.isEmpty() ? "the browser's login failed" : qPrintable(why));
        return;
    }
    const int rows = versions + 1; // and J0's
    browser.addScript(QStringLiteral("new MutationObserver((l, o) => { if (document.querySelectorAll('#library tbody tr').length >= %1) {"
                                     " window.__drawn = performance.now(); o.disconnect(); } })"
                                     ".observe(document, {childList: true, subtree: true});").arg(rows));
    const QString live = s.fleet.url(QStringLiteral("/library"));
    DashboardBench::pageLoadMs(browser, live, rows);
    // The same table as the page drew it, its scripts gone, its style sheet from the source.
    QString html = browser.evaluate(QStringLiteral("document.documentElement.outerHTML")).toString();
    html.remove(QRegularExpression(QStringLiteral("<script[^>]*>[^<]*</script>")));
    html.replace(QRegularExpression(QStringLiteral("href=\"/static/dashboard.css[^\"]*\"")),
                 QStringLiteral("href=\"file://" KNIT_SOURCE_DIR "/tools/knitfleet/pages/dashboard.css\""));
    QFile file(s.dir.filePath(QStringLiteral("library.html")));
    file.open(QIODevice::WriteOnly);
    file.write(("<!DOCTYPE html>" + html).toUtf8());
    file.close();
    std::vector<double> page, still;
    for (int i = 0; i < 5; ++i) {
        page.push_back(DashboardBench::pageLoadMs(browser, live, rows));
        still.push_back(DashboardBench::pageLoadMs(browser, QStringLiteral("file://") + file.fileName(), rows));
    }
    const double p = quantile(page, 0.5), st = quantile(still, 0.5);
    std::printf("/library with %d versions, navigation → every row drawn (target ≤ 1.5 × static):\n"
                "  knitfleet %.0f ms, static file %.0f ms (%.1f MB), ratio %.2f (median of 5)\n",
                rows, p, st, double(file.size()) / 1e6, p / qMax(1.0, st));
}

} // namespace

} // namespace JobLibraryBench

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it is measured
    JobLibraryBench::Setup s;
    if (!JobLibraryBench::start(s))
        return 0;
    // Named figures alone (uploads, logins, library, import), else all.
    const QStringList only = app.arguments().mid(1);
    const std::pair<const char *, void (*)(JobLibraryBench::Setup &)> figures[] = {
        {"uploads", JobLibraryBench::uploads}, {"logins", JobLibraryBench::logins},
        {"library", JobLibraryBench::libraryPage}, {"import", JobLibraryBench::panelImport}};
    for (const auto &figure : figures)
        if (only.isEmpty() || only.contains(QLatin1String(figure.first)))
            figure.second(s);
    return 0;
}
