// The job import browser's fetch from the office's library when it cannot be had, through the
// real helper against a real knitfleet serve: a certificate not the one trusted, a revoked
// token, a token over its rate, a disk that fills during the fetch, the operator's Esc; and a
// new job, which brings its own work parameters, where the panel has no default ones. Faults
// caught: a cause reported as another (or as the helper's failure), more than one message, the
// old job touched, a fetch or a staged import left behind in the data root, a new job refused
// for want of the default work parameters or imported with other files than the office's, an
// import the telemetry is not told of, or told of when it failed.
#include "brokerprocess.h"
#include "fleetserve.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/jobevents.h"
#include "data/libraryconfig.h"
#include "logic/files/jobfolders.h"
#include "logic/files/libraryfetch.h"
#include "logic/files/libraryjobimport.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

enum class Fault { None, UntrustedCertificate, RevokedToken, OverRate, DiskFull, Cancelled };

struct EventLog : JobEvents::Observer
{
    void jobEvent(const JobEvents::Event &event) override { events.append(event); }
    QList<JobEvents::Event> events;
};

// The requests a token may make in a minute.
constexpr int kRate = 60;

} // namespace

class TestLibraryJobImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        BROKER_START(broker_, FleetServe::built(&why));
        const QString office = root_.file(QStringLiteral("/office"));
        QVERIFY(TestRoot::makeJobIn(office, QStringLiteral("J1"), 50, 90, 20) && TestRoot::makeJobIn(office, QStringLiteral("J2"), 20, 60, 10)
                && root_.makeJob(QStringLiteral("J1"), 30, 40, 10));
        QVERIFY(knitfleet({"user", "add", "anna", "--role", "supervisor", "--db", db()}, "anna-pw\n") == 0
                && TestBytes::writeFile(root_.file(QStringLiteral("/anna.pw")), "anna-pw\n"));
        // The server's certificate, and another the panel is told to trust.
        for (const char *cert : {"/cert.pem", "/mnt/ide/knit/other.pem"})
            if (QProcess::execute(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                                             "-nodes", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-days", "2",
                                                             "-keyout", root_.file(QLatin1String(cert)) + ".key", "-out", root_.file(QLatin1String(cert))}) != 0)
                QSKIP("openssl not found: install it with scripts/setup.sh");
        QVERIFY(fleet_.start({"--url", broker_.url(), "--db", db()}));
        QVERIFY(tls_.start({"--url", broker_.url(), "--db", root_.file(QStringLiteral("/tls.sqlite")), "--cert",
                            root_.file(QStringLiteral("/cert.pem")), "--key", root_.file(QStringLiteral("/cert.pem.key"))}));
        for (LibraryListing::Job *job : {&job_, &newJob_}) {
            job->name = job == &job_ ? QStringLiteral("J1") : QStringLiteral("J2");
            job->version = 1;
            QProcess push;
            startOwnProgram(push, QStringLiteral(KNITJOB_PATH), {"push", fleet_.url(), office + QLatin1Char('/') + job->name, "--user", "anna",
                                                                 "--password-file", root_.file(QStringLiteral("/anna.pw"))});
            QVERIFY(push.waitForFinished(30000) && push.exitCode() == 0);
            for (int i = 0; i < 3; ++i)
                job->sha256[i] = QCryptographicHash::hash(TestBytes::readFile(officeFile(job->name, i)), QCryptographicHash::Sha256).toHex();
        }
        QVERIFY(!QFileInfo::exists(PanelPaths::tmp(QStringLiteral("/default.wrk"))));
    }

    void tellsOneMessage_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("message");
        QTest::addRow("new job, no default work parameters") << Fault::None << "导入编织文件成功 !";
        QTest::addRow("untrusted certificate") << Fault::UntrustedCertificate << "网络硬盘的TLS证书验证失败, 未导入 !";
        QTest::addRow("revoked token") << Fault::RevokedToken << "网络硬盘拒绝了本机的令牌 !";
        QTest::addRow("over the rate") << Fault::OverRate << "网络硬盘请求过于频繁, 请稍后再试 !";
        QTest::addRow("disk full") << Fault::DiskFull << "硬盘空间不足或无法写入, 未导入 !";
        QTest::addRow("esc") << Fault::Cancelled << "已取消网络硬盘下载 !";
    }

    void tellsOneMessage()
    {
        QFETCH(Fault, fault);
        QFETCH(QString, message);
        // Each case its own machine, so one's requests do not count against another's rate.
        const QString machine = QStringLiteral("M-%1").arg(int(fault));
        QCOMPARE(knitfleet({"machine", "add", machine, "--db", db()}, {}), 0);
        const QByteArray token = output_.trimmed();
        const bool https = fault == Fault::UntrustedCertificate;
        const QString url = https ? tls_.url().chopped(1).replace(0, 4, QStringLiteral("https")) : fleet_.url().chopped(1);
        QVERIFY(TestBytes::writeFile(LibraryConfig::path(), "[library]\nurl = " + url.toUtf8() + "\nmachine = " + machine.toUtf8()
                                                                + "\ntoken = " + token + '\n' + (https ? "cafile = other.pem\n" : "")));
        if (fault == Fault::RevokedToken)
            QCOMPARE(knitfleet({"machine", "revoke", machine, "--db", db()}, {}), 0);
        for (int i = 0; fault == Fault::OverRate && i < kRate; ++i)
            QCOMPARE(fleet_.get("/api/library", "Authorization: Bearer " + token + "\r\n").status, 200);
        LibraryFetch fetch;
        if (fault == Fault::Cancelled)
            connect(&fetch, &LibraryFetch::progress, &fetch, &LibraryFetch::cancel);
        QStringList told;
        StickJobImport::Hooks hooks{[](const QString &) { return true; }, [&told](const QString &text) { told.append(text); },
                                    [](const QByteArray &from, const QString &to) { return FsOps::copyFile(QFile::decodeName(from), to); }};
        QByteArray before[3];
        for (int i = 0; i < 3; ++i)
            QVERIFY(!(before[i] = TestBytes::readFile(oldJob(i))).isEmpty());
        // A limit on file size, its signal ignored, fails the helper's writes as a full disk does.
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit full{1024, limit.rlim_max};
        if (fault == Fault::DiskFull)
            QVERIFY(::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &full) == 0);
        JobEvents jobEvents(QCoreApplication::instance());
        EventLog log;
        jobEvents.add(&log);
        const QString imported = LibraryJobImport(JobFolders::root(), hooks, &fetch).run(fault == Fault::None ? newJob_ : job_);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_DFL);
        QCOMPARE(imported, fault == Fault::None ? newJob_.name : QString());
        QCOMPARE(told, QStringList{message});
        QCOMPARE(log.events.size(), fault == Fault::None ? 1 : 0);
        for (const JobEvents::Event &e : log.events) {
            QCOMPARE(e.event + e.job + e.source + QString::number(e.version), QStringLiteral("importedJ2library1"));
            for (int i = 0; i < 3; ++i)
                QCOMPARE(e.sha256[i], newJob_.sha256[i]);
        }
        for (int i = 0; fault == Fault::None && i < 3; ++i)
            QCOMPARE(TestBytes::readFile(JobFolders::dir(newJob_.name) + QStringLiteral("/J2.") + QLatin1String(kExtensions[i])),
                     TestBytes::readFile(officeFile(newJob_.name, i)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(TestBytes::readFile(oldJob(i)), before[i]);
        for (const QString &left : {LibraryFetch::folder(), LibraryFetch::folder() + QStringLiteral(".part"), JobFolders::root() + QStringLiteral("/.import")})
            QVERIFY2(!QFileInfo::exists(left), qPrintable(left));
    }

private:
    static constexpr const char *kExtensions[3] = {"cnt", "pat", "wrk"};

    QString db() const { return root_.file(QStringLiteral("/fleet.sqlite")); }
    QString officeFile(const QString &name, int i) const
    {
        return root_.file(QStringLiteral("/office/%1/%1.%2").arg(name, QLatin1String(kExtensions[i])));
    }
    QString oldJob(int i) const { return JobFolders::dir(QStringLiteral("J1")) + QStringLiteral("/J1.") + QLatin1String(kExtensions[i]); }

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

    TestRoot root_;
    BrokerProcess broker_;
    FleetServe fleet_;
    FleetServe tls_;
    LibraryListing::Job job_;
    LibraryListing::Job newJob_; // in the library only
    QByteArray output_;
};

QTEST_GUILESS_MAIN(TestLibraryJobImport)
#include "test_libraryjobimport.moc"
