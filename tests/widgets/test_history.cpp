// The machine's history on disk and on its page. Faults caught: the next line joined to a torn
// one (a writer killed mid-line is the crash sweep's), a log that grows without bound or
// loses lines at its rotation, CSV that a spreadsheet splits wrongly (a comma or quote in a
// text), a damaged log that stops the page or is not reported, alarm counts and standing times
// or a day's knitting time summed wrongly (an alarm outside the seven days counted, a run
// across midnight on one day only), an export to the stick that loses a log, far-apart times
// in a damaged log that hold the page.
#include "modaldriver.h"
#include "ownclock.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/historylog.h"
#include "history/historypage.h"
#include "logic/history/machinehistory.h"
#include "platform/logwriter.h"
#include "ui/beepinglistview.h"

#include <QDir>
#include <QTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(12, 0));

QByteArray pieceLine(int n)
{
    return HistoryLog::pieceLine(kNow, QStringLiteral("J"), n, 0);
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a crash left of a line is cut off before the next, at start-up or by the writer
    // itself (fault: the next line joined to the torn one, both lost to the reader).
    void tornLineCut_data()
    {
        TestTable::columns<QByteArray, QByteArray>("left", "whole");
        const QByteArray one = pieceLine(1) + '\n';
        QTest::addRow("after whole lines") << one + pieceLine(2).left(9) << one;
        QTest::addRow("only a part") << pieceLine(2).left(9) << QByteArray();
        QTest::addRow("whole") << one << one;
    }
    void tornLineCut()
    {
        auto [left, whole] = TestTable::fetch<QByteArray, QByteArray>("left", "whole");
        TestRoot root;
        const QString path = root.file(QStringLiteral("/log/p.log"));
        QVERIFY(TestBytes::writeFile(path, left));
        QVERIFY(LogWriter::repair(path));
        QCOMPARE(TestBytes::readFile(path), whole);
        QVERIFY(TestBytes::writeFile(path, left));
        {
            LogWriter writer(path);
            writer.append(pieceLine(3));
        }
        QCOMPARE(TestBytes::readFile(path), whole + pieceLine(3) + '\n');
    }

    void rotatesAtTheBound()
    {
        TestRoot root;
        const QString path = root.file(QStringLiteral("/log/p.log"));
        {
            LogWriter writer(path, 1000);
            for (int i = 0; i < 40; ++i)
                writer.append(pieceLine(i));
        }
        QVERIFY(QFileInfo(path).size() <= 1000 + 60);
        QVERIFY(QFileInfo(LogWriter::rotatedPath(path)).size() > 1000);
        // The newest lines are all there, in order, across both files.
        const HistoryLog::Read r = HistoryLog::readLog(path);
        QCOMPARE(r.skipped, 0);
        QCOMPARE(r.entries.last().number(3), 39);
        QCOMPARE(r.entries.last().number(3) - r.entries.first().number(3) + 1, int(r.entries.size()));
    }

    void csvQuotes()
    {
        HistoryLog::Entry e;
        HistoryLog::parseLine(HistoryLog::alarmLine(kNow, QStringLiteral("raised"), 2, 23, QStringLiteral("撞针,\"A\""),
                                                    QStringLiteral("J"), QStringLiteral("0005"), 4), &e);
        QCOMPARE(HistoryLog::csv({QStringLiteral("a"), QStringLiteral("b")}, {e}),
                 QByteArray("\xEF\xBB\xBF" "a,b\r\n2026-12-06T12:00:00,raised,2,23,\"撞针,\"\"A\"\"\",J,0005,4\r\n"));
    }

    // A run from year 1 to year 9999 (a damaged log or clock): the days shown are whole knitting
    // days, summed without walking the millions of days outside them (that walk takes about half
    // a second, far longer under the sanitizers).
    void farApartTimes()
    {
        HistoryLog::Entry start, stop;
        QVERIFY(HistoryLog::parseLine("0001-01-01T00:00:00\tstart\tJ", &start));
        QVERIFY(HistoryLog::parseLine("9999-12-31T23:59:59\tstop\tJ", &stop));
        const OwnClock clock;
        const QList<HistoryLog::Day> days = HistoryLog::days({start, stop}, kNow.date().addDays(-6), kNow.date(), kNow);
        QVERIFY2(clock.elapsedMs() < 200, qPrintable(QString::number(clock.elapsedMs())));
        QCOMPARE(days.size(), 7);
        for (const HistoryLog::Day &d : days)
            QCOMPARE(d.knittingSeconds, qint64(24 * 3600));
    }

    // A damaged log next to whole lines: the page opens, counts the damage, and sums what is whole.
    void pageSums()
    {
        TestRoot root;
        const auto alarm = [](int minutesAgo, const char *event, int type, int code) {
            return HistoryLog::alarmLine(kNow.addSecs(-60 * minutesAgo), QLatin1String(event), type, code,
                                         QStringLiteral("T%1").arg(type), QStringLiteral("J"), QStringLiteral("0001"), 0) + '\n';
        };
        const QByteArray alarms = alarm(8 * 24 * 60, "raised", 3, 18) + alarm(8 * 24 * 60 - 5, "cleared", 0, 0)
            + alarm(180, "raised", 2, 23) + alarm(120, "cleared", 0, 0) + "no tabs here\n" + QByteArray("\xff\xfe\n")
            + QByteArray(20000, 'x') + '\n' + alarm(60, "raised", 2, 23) + alarm(50, "acknowledged", 2, 23)
            + alarm(50, "cleared", 0, 0) + "2026-12-06T11:59:00\traised\t1";
        QVERIFY(TestBytes::writeFile(MachineHistory::alarmLogPath(), alarms));
        const QDateTime yesterday22(kNow.date().addDays(-1), QTime(22, 0));
        const QByteArray production = HistoryLog::runLine(yesterday22, true, QStringLiteral("J")) + '\n'
            + HistoryLog::pieceLine(yesterday22.addSecs(3600), QStringLiteral("J"), 1, 9) + '\n'
            + HistoryLog::runLine(yesterday22.addSecs(4 * 3600), false, QStringLiteral("J")) + '\n';
        QVERIFY(TestBytes::writeFile(MachineHistory::productionLogPath(), production));

        HistoryPage page(nullptr, kNow);
        QCOMPARE(page.skipped(), 4);
        QVERIFY2(page.msgLabel()->text().endsWith(QStringLiteral(" (4 行记录损坏, 已跳过)")), qPrintable(page.msgLabel()->text()));
        QCOMPARE(page.list(0)->topLevelItemCount(), 7);
        QCOMPARE(page.list(0)->topLevelItem(0)->text(1), QStringLiteral("解除"));
        QCOMPARE(page.list(1)->topLevelItemCount(), 1);
        QCOMPARE(page.list(1)->topLevelItem(0)->text(1), QStringLiteral("2"));
        QCOMPARE(page.list(1)->topLevelItem(0)->text(2), QStringLiteral("01:10:00"));
        const int today = page.list(2)->topLevelItemCount() - 1;
        // 22:00 to 02:00: two hours on each day, then stopped until now.
        QCOMPARE(page.list(2)->topLevelItem(today - 1)->text(2), QStringLiteral("02:00:00"));
        QCOMPARE(page.list(2)->topLevelItem(today - 1)->text(1), QStringLiteral("1"));
        QCOMPARE(page.list(2)->topLevelItem(today)->text(2), QStringLiteral("02:00:00"));
        QCOMPARE(page.list(2)->topLevelItem(today)->text(3), QStringLiteral("10:00:00"));
        QCOMPARE(page.list(2)->topLevelItem(today)->text(4), QStringLiteral("16%"));

        // Exported to the stick: both logs whole, damaged lines left out, in a folder of the time.
        QVERIFY(TestBytes::writeFile(root.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        QVERIFY(QDir().mkpath(root.file("/mnt/usb")));
        ModalDriver driver;
        driver.postClick(QStringLiteral("Benter")).pressOk();
        QVERIFY(shownActive(&page));
        QTest::keyClick(&page, Qt::Key_D);
        QCOMPARE(driver.texts.value(driver.texts.size() - 1), QStringLiteral("导出文件完毕 !"));
        const QStringList folders = QDir(root.file("/mnt/usb")).entryList({"history-*"}, QDir::Dirs);
        QCOMPARE(folders.size(), 1);
        const QString stick = root.file("/mnt/usb/") + folders.first() + '/' + folders.first();
        QCOMPARE(TestBytes::readFile(stick + "-alarms.csv"),
                 HistoryLog::csv(HistoryLog::alarmHeader(), HistoryLog::readLog(MachineHistory::alarmLogPath()).entries));
        QCOMPARE(TestBytes::readFile(stick + "-production.csv"),
                 HistoryLog::csv(HistoryLog::productionHeader(), HistoryLog::readLog(MachineHistory::productionLogPath()).entries));
        QVERIFY(QDir(root.file("/tmp")).entryList({"history-*"}).isEmpty());
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"
