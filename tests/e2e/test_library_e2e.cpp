// The office's job library in the real knitpanel against knitsim under a private X server,
// with a real knitfleet serve (its SQLite) and a real broker: F5 of the job import browser
// lists the released versions, Enter fetches one and imports it, and the import goes out on
// knit/<id>/job; a version whose file no longer matches the digest the list gave is refused;
// a server killed while the fetch waits for it leaves one message. Faults caught: F5 showing
// nothing or not the newest versions; an import without its .wrk, half-written, or not told
// to the office; a file taken against the listed digest; an old job touched by a failed
// fetch; a fetch left behind in the data root.
#include "brokerprocess.h"
#include "fleetserve.h"
#include "ownprogram.h"
#include "panelfixture.h"
#include "testbytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QRect kList(130, 60, 420, 380);
const char kMachine[] = "L-1";

} // namespace

class TestLibraryE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!PanelFixture::available(&why) || !BrokerProcess::available(&why) || !FleetServe::built(&why))
            QSKIP(qPrintable(why));
        QVERIFY2(broker_.start(&why), qPrintable(why));
        QCOMPARE(knitfleet({"user", "add", "anna", "--role", "supervisor", "--db", db()}, "anna-pw\n"), 0);
        QCOMPARE(knitfleet({"machine", "add", kMachine, "--db", db()}, {}), 0);
        const QByteArray token = output_.trimmed();
        QVERIFY(fleet_.start({"--url", broker_.url(), "--db", db()}));
        QVERIFY2(f_.prepare({{QStringLiteral("M1"), 40, 100, 30}, {QStringLiteral("M2"), 60, 120, 30}}, &why), qPrintable(why));
        // The office's L1 and another M2 than the panel's.
        QVERIFY(TestRoot::makeJobIn(dir_.filePath(QStringLiteral("office")), QStringLiteral("L1"), 50, 90, 20)
                && TestRoot::makeJobIn(dir_.filePath(QStringLiteral("office")), QStringLiteral("M2"), 70, 80, 20));
        QVERIFY(TestBytes::writeFile(dir_.filePath(QStringLiteral("anna.pw")), "anna-pw\n"));
        for (const char *name : {"L1", "M2"}) {
            QProcess push;
            startOwnProgram(push, QStringLiteral(KNITJOB_PATH), {"push", fleet_.url(), dir_.filePath(QStringLiteral("office/") + QLatin1String(name)),
                                                                 "--user", "anna", "--password-file", dir_.filePath(QStringLiteral("anna.pw"))});
            QVERIFY(push.waitForFinished(30000));
            // Released as uploaded: this server asks for no approval.
            QVERIFY2(push.exitCode() == 0, push.readAllStandardError().constData());
        }
        QVERIFY(TestBytes::writeFile(f_.file(QStringLiteral("/mnt/ide/knit/library.ini")),
                                     "[library]\nurl = " + fleet_.url().chopped(1).toUtf8() + "\nmachine = " + kMachine + "\ntoken = " + token + "\n"));
        QVERIFY(TestBytes::writeFile(f_.file(QStringLiteral("/mnt/ide/knit/telemetry.ini")),
                                     "[mqtt]\nurl = " + broker_.url().toUtf8() + "\nmachine = " + kMachine + "\n"));
        // The office offers L1: the main screen says so until it is imported.
        const QByteArray digest = QCryptographicHash::hash(TestBytes::readFile(office("L1", ".cnt")), QCryptographicHash::Sha256).toHex();
        QVERIFY(broker_.publish(QStringLiteral("knit/%1/offer").arg(QLatin1String(kMachine)),
                                "{\"job\":\"L1\",\"version\":1,\"sha256\":{\"cnt\":\"" + digest + "\",\"pat\":\"" + digest + "\",\"wrk\":\""
                                    + digest + "\"},\"by\":\"anna\"}", true));
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
        // The message line's red text: the offer shown.
        const QImage shown = f_.x().pictureWhen("mainscreen-offer", [](const QImage &screen) {
            int red = 0;
            for (int y = 280; y < 325; ++y)
                for (int x = 100; x < 540; ++x)
                    red += qRed(screen.pixel(x, y)) > 180 && qGreen(screen.pixel(x, y)) < 80 ? 1 : 0;
            return red > 100;
        });
        QVERIFY(!shown.isNull());
    }

    // F5 lists L1 and M2; Enter on L1 imports it whole, .wrk and all, and tells the office.
    void importsFromTheLibrary()
    {
        QProcess *events = broker_.subscribe(QStringLiteral("knit/%1/job").arg(QLatin1String(kMachine)), this);
        QVERIFY(events);
        QVERIFY(f_.walk({"3>DiskFileManager", "a>JobImportDialog"}));
        QVERIFY(f_.turnPage({"F5"}, kList, "files-library"));
        QVERIFY(f_.walk({"Return>MessageDialog"}, "files-library-imported"));
        for (const char *ext : {".cnt", ".pat", ".wrk"})
            QCOMPARE(TestBytes::readFile(job("L1", ext)), TestBytes::readFile(office("L1", ext)));
        QVERIFY(QFileInfo::exists(job("L1", ".txt")));
        const QByteArray cnt = QCryptographicHash::hash(TestBytes::readFile(office("L1", ".cnt")), QCryptographicHash::Sha256).toHex();
        const auto told = [events, &cnt] {
            const QByteArray all = events->peek(1 << 16);
            const qsizetype at = all.indexOf("{\"event\":\"imported\",\"job\":\"L1\",\"sha256\":{\"cnt\":\"" + cnt);
            const QByteArray line = at < 0 ? QByteArray() : all.mid(at, all.indexOf('\n', at) - at);
            return line.contains("\"source\":\"library\"") && line.endsWith(",\"version\":1}");
        };
        // Told once the operator has read the message and the import is through.
        QVERIFY(f_.walk({"Return>DiskFileManager"}));
        QTRY_VERIFY_WITH_TIMEOUT(told(), 10000);
        endProgram(*events);
        QVERIFY(!QFileInfo::exists(f_.file(QStringLiteral("/mnt/ide/knit/.library"))));
        // What keeps the offer of L1 v1 from showing again after a restart.
        QCOMPARE(TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/library-imported.txt"))), QByteArray("L1\t1\n"));
    }

    // The office's M2 is changed after the list was shown: its .cnt no longer has the listed
    // digest, and the panel's M2 stays as it was.
    void refusesAFileThatDiffersFromTheList()
    {
        const QByteArray before = TestBytes::readFile(job("M2", ".cnt"));
        QVERIFY(f_.walk({"a>JobImportDialog"}) && f_.turnPage({"F5"}, kList, nullptr));
        QVERIFY(setCntOf("M2", "L1"));
        const qsizetype from = f_.panel().output().size();
        QVERIFY(f_.walk({"Down", "Return>MessageDialog"}, "files-library-tampered"));
        QVERIFY(f_.waitForTrace(QStringLiteral("M2.cnt differs from the SHA-256 the library listed"), from));
        QCOMPARE(TestBytes::readFile(job("M2", ".cnt")), before);
        // Back on the list (open() would wait for the stick's mount, which only a new page does).
        QVERIFY(f_.walk({"Return"}) && f_.waitForWindow("JobImportDialog"));
    }

    // The server stops answering once the fetch's request is on its way, then dies: one
    // message, the old job as it was, nothing left of the fetch.
    void serverKilledMidFetch()
    {
        const QByteArray before = TestBytes::readFile(job("M2", ".wrk"));
        QVERIFY(setCntOf("M2", "M2"));
        const qsizetype from = f_.panel().output().size();
        ::kill(pid_t(fleet_.process().processId()), SIGSTOP);
        QVERIFY(f_.walk({"Return"}));
        QVERIFY(QTest::qWaitFor([this] { return connectedToServer(); }, 10000));
        fleet_.process().kill();
        QVERIFY(f_.waitForWindow("MessageDialog"));
        QVERIFY(f_.waitForTrace(QStringLiteral("did not answer whole"), from));
        QCOMPARE(TestBytes::readFile(job("M2", ".wrk")), before);
        QVERIFY(!QFileInfo::exists(f_.file(QStringLiteral("/mnt/ide/knit/.library.part"))));
        QVERIFY(f_.walk({"Return"}) && f_.waitForWindow("JobImportDialog"));
        QVERIFY(f_.walk({"Escape>DiskFileManager", "Escape>MainScreen"}));
    }

private:
    QString db() const { return dir_.filePath(QStringLiteral("fleet.sqlite")); }
    QString job(const char *name, const char *ext) const
    {
        return f_.file(QStringLiteral("/mnt/ide/knit/wave/%1/%1%2").arg(QLatin1String(name), QLatin1String(ext)));
    }
    QString office(const char *name, const char *ext) const
    {
        return dir_.filePath(QStringLiteral("office/%1/%1%2").arg(QLatin1String(name), QLatin1String(ext)));
    }

    int knitfleet(const QStringList &args, const QByteArray &input)
    {
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH), args);
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(30000);
        output_ = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // The list's digest of name's .cnt made that of other's, as if the office's data changed:
    // the server then hands out other's .cnt, sound in itself, for name.
    bool setCntOf(const char *name, const char *other)
    {
        QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tamper"));
        sql.setDatabaseName(db());
        bool ok = sql.open();
        {
            QSqlQuery q(sql);
            q.prepare(QStringLiteral("UPDATE library_versions SET cnt_sha = ? WHERE name = ?"));
            q.addBindValue(QString::fromLatin1(QCryptographicHash::hash(TestBytes::readFile(office(other, ".cnt")), QCryptographicHash::Sha256).toHex()));
            q.addBindValue(QLatin1String(name));
            ok = ok && q.exec() && q.numRowsAffected() == 1;
        }
        sql.close();
        sql = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("tamper"));
        return ok;
    }

    // A connection to the stopped server stands: the fetch's request is on its way.
    bool connectedToServer() const
    {
        QFile tcp(QStringLiteral("/proc/net/tcp"));
        if (!tcp.open(QIODevice::ReadOnly))
            return false;
        const QByteArray local = ":" + QByteArray::number(fleet_.port(), 16).toUpper().rightJustified(4, '0') + ' ';
        for (const QByteArray &line : tcp.readAll().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() > 3 && f[1].endsWith(local.trimmed()) && f[3] == "01")
                return true;
        }
        return false;
    }

    QTemporaryDir dir_;
    BrokerProcess broker_;
    FleetServe fleet_;
    PanelFixture f_;
    QByteArray output_;
};

QTEST_GUILESS_MAIN(TestLibraryE2e)
#include "test_library_e2e.moc"
