// The system tools' logic. Faults caught: a calibration fit that accepts points that fix no
// plane or a touch far from its cross, misplaces a cross by rounding, or describes the touch
// as the old calibration delivered it instead of raw; a calibration file written for bad data
// or not written for good; an impossible date or hour given to "date -s", "hwclock -w" run
// without a date, the clock page's keys wrapping or adding digits to a value; a full update whose bad panel program still puts a controller into its
// update mode, or whose sound one is not installed after both images reached the controller,
// or that goes on when the controller refuses its update mode;
// an export name that leaves the temporary folder.
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "logic/service/clocksetting.h"
#include "logic/service/fullupdate.h"
#include "logic/service/systembackup.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"
#include "service/clockframe.h"
#include "touchcal/touchcalibration.h"
#include "ui/beepingspinbox.h"
#include "ui/transferdialog.h"

#include <QApplication>
#include <QTest>

using Points = QList<QPointF>;
using TestBytes::readFile;
using TestBytes::writeFile;

namespace {

std::array<QPointF, CalibrationFit::kPoints> raw(const Points &p)
{
    std::array<QPointF, CalibrationFit::kPoints> a{};
    for (int i = 0; i < CalibrationFit::kPoints; ++i)
        a[std::size_t(i)] = p.value(i);
    return a;
}

// The crosses as a touch controller of 0-4095 would report them, turned slightly.
Points touches(double dx0 = 0, double dy0 = 0)
{
    Points p;
    for (const QPointF &c : CalibrationFit::crosses())
        p << QPointF(6.4 * c.x() + 0.2 * c.y() + 100, 8.5 * c.y() - 0.1 * c.x() + 200);
    p[0] += QPointF(dx0, dy0);
    return p;
}

} // namespace

class TestService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void calibration_data()
    {
        // worst: px from a cross at most; < 0: refused
        TestTable::columns<Points, double>("points", "worst");
        QTest::addRow("exact") << touches() << 0.1;
        QTest::addRow("rounded touches") << touches(5, -6) << 2.0;
        QTest::addRow("all on one line") << Points{{10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}} << -1.0;
        QTest::addRow("one place touched") << Points{{7, 7}, {7, 7}, {7, 7}, {7, 7}, {7, 7}} << -1.0;
        QTest::addRow("one touch off") << touches(180, 0) << -1.0;
    }
    void calibration()
    {
        auto [points, worst] = TestTable::fetch<Points, double>("points", "worst");
        TestRoot root;
        CalibrationFit::Coefficients k{};
        QCOMPARE(CalibrationFit::fit(raw(points), &k), worst >= 0);
        TouchCalibration page;
        QCOMPARE(page.finish(raw(points)), worst >= 0);
        QCOMPARE(page.result(), worst >= 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (worst < 0) {
            QVERIFY(!QFileInfo::exists(PanelPaths::pointercal()));
            return;
        }
        QCOMPARE(readFile(PanelPaths::pointercal()), CalibrationFit::line(k));
        for (int i = 0; i < CalibrationFit::kPoints; ++i) {
            const QPointF d = CalibrationFit::map(k, points[i]) - CalibrationFit::crosses()[std::size_t(i)];
            QVERIFY2(std::hypot(d.x(), d.y()) <= worst, qPrintable(QString::number(i)));
        }
        // The same touches delivered through an old calibration give the same raw fit.
        const CalibrationFit::Coefficients old{70000, 3000, -50000, -2000, 60000, 90000};
        Points mapped;
        for (const QPointF &p : points)
            mapped << CalibrationFit::map(old, p);
        CalibrationFit::Coefficients through{};
        QVERIFY(CalibrationFit::fit(raw(mapped), &through));
        const CalibrationFit::Coefficients composed = CalibrationFit::compose(through, old);
        for (int i = 0; i < CalibrationFit::kPoints; ++i) {
            const QPointF d = CalibrationFit::map(composed, points[i]) - CalibrationFit::map(k, points[i]);
            QVERIFY(std::hypot(d.x(), d.y()) < 0.5);
        }
    }

    void clock_data()
    {
        TestTable::columns<QList<int>, int, QStringList>("when", "result", "ran");
        const QStringList set{"date -s 2007/3/9 8:05:00", "hwclock -w"};
        QTest::addRow("a day") << QList<int>{2007, 3, 9, 8, 5, 0} << int(ClockSetting::Done) << set;
        QTest::addRow("leap day") << QList<int>{2008, 2, 29, 23, 59, 59} << int(ClockSetting::Done)
                                  << QStringList{"date -s 2008/2/29 23:59:59", "hwclock -w"};
        QTest::addRow("29 February 2007") << QList<int>{2007, 2, 29, 8, 5, 0} << int(ClockSetting::OutOfRange) << QStringList();
        QTest::addRow("31 April") << QList<int>{2007, 4, 31, 8, 5, 0} << int(ClockSetting::OutOfRange) << QStringList();
        QTest::addRow("hour 24") << QList<int>{2007, 3, 9, 24, 0, 0} << int(ClockSetting::OutOfRange) << QStringList();
        QTest::addRow("year 2051") << QList<int>{2051, 1, 1, 0, 0, 0} << int(ClockSetting::OutOfRange) << QStringList();
    }
    void clock()
    {
        auto [when, result, ran] = TestTable::fetch<QList<int>, int, QStringList>("when", "result", "ran");
        TestRoot root;
        SystemActions::clearRecorded();
        QCOMPARE(int(ClockSetting::set(when[0], when[1], when[2], when[3], when[4], when[5])), result);
        QCOMPARE(SystemActions::recorded(), ran);
        if (result == ClockSetting::Done)
            QVERIFY(qAbs(SystemActions::now().secsTo(QDateTime(QDate(when[0], when[1], when[2]), QTime(when[3], when[4], when[5])))) <= 2);
    }

    // The page's keys as the keypad sends them: RIGHT and LEFT stop at the ends, digits replace
    // the box's value, Up steps it, and Enter with 31 February only says so.
    void clockPage()
    {
        TestRoot root;
        SystemActions::clearRecorded();
        ClockFrame frame;
        QVERIFY(shownActive(&frame));
        ClockPage *page = frame.page();
        // "<" ">" "^" the arrows, "R" Return, digits typed; each key's effects through the event
        // loop, where the selection follows the focus.
        const auto type = [](const QString &script) {
            for (const QChar c : script) {
                QTest::keyClick(QApplication::focusWidget(), c == '<' ? Qt::Key_Left : c == '>' ? Qt::Key_Right : c == '^' ? Qt::Key_Up
                                                             : c == 'R' ? Qt::Key_Return : Qt::Key(c.unicode()));
                QCoreApplication::processEvents();
            }
        };
        type(QStringLiteral("<"));
        QCOMPARE(page->focusIndex(), 0);
        type(QStringLiteral("2009^>2>31>>>>>"));
        QCOMPARE(page->focusIndex(), 5);
        QCOMPARE(page->box(0)->value(), 2010);
        ModalDriver driver;
        driver.pressOk();
        type(QStringLiteral("R"));
        QCOMPARE(driver.texts, QStringList{"参数范围不正确, 请查看参数范围 !"});
        QVERIFY(SystemActions::recorded().isEmpty());
    }

    void exportName_data()
    {
        // path: under tmp/, empty: refused
        TestTable::columns<QString, QString>("name", "path");
        QTest::addRow("digit") << "3" << "/3.sys";
        QTest::addRow("ten digits") << "0123456789" << "/0123456789.sys";
        QTest::addRow("eleven digits") << "01234567890" << "";
        QTest::addRow("up and out") << "../x" << "";
        QTest::addRow("letters") << "1a" << "";
    }
    void exportName()
    {
        auto [name, path] = TestTable::fetch<QString, QString>("name", "path");
        TestRoot root;
        QCOMPARE(SystemBackup::exportPath(name), path.isEmpty() ? QString() : PanelPaths::tmp(path));
    }

    void fullUpdate_data()
    {
        // fault: knitsim's, before the update
        TestTable::columns<bool, QString>("sound", "fault");
        QTest::addRow("sound program") << true << "";
        QTest::addRow("cut-off program") << false << "";
        QTest::addRow("update mode refused") << true << "fault refuse 0x20 49";
    }
    void fullUpdate()
    {
        auto [sound, fault] = TestTable::fetch<bool, QString>("sound", "fault");
        TestRoot root;
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.error()));
        QVERIFY(sim.command("set flash 300") && (fault.isEmpty() || sim.command(fault)));
        const QByteArray program = readFile(QStringLiteral(KNITJOB_PATH));
        const QString dir = root.file("/mnt/usb/v2");
        QVERIFY(writeFile(dir + "/MASTER.BIN", QByteArray(5000, 'm')) && writeFile(dir + "/slv1.bin", QByteArray(3000, 's')));
        QVERIFY(writeFile(dir + "/knit", sound ? program : program.left(program.size() - 100)));
        const QString target = PanelPaths::data("/knit");
        QVERIFY(writeFile(target, "old"));
        QStringList told;
        FullUpdate update({[](const QString &q) { return !q.startsWith("升级完成"); },
                           [&told](const QString &t) { told << t; }, [](const QString &) {},
                           [](const QByteArray &from, const QString &to) { return FsOps::copyFile(QFile::decodeName(from), to); }},
                          TransferDialog::withController());
        QCOMPARE(update.run(QFile::encodeName(dir), target), sound && fault.isEmpty());
        const QStringList state = sim.send("state");
        if (!sound || !fault.isEmpty()) {
            QCOMPARE(told, QStringList{fault.isEmpty() ? "升级失败, 请重试 !" : "进入升级界面, 请重试 !"});
            QVERIFY(!sim.traffic().join(' ').contains(fault.isEmpty() ? "cmd 20/31" : "WRQ"));
            QVERIFY(!state.contains("update 48 open") && !state.contains("update 49 open"));
            QCOMPARE(readFile(target), QByteArray("old"));
            return;
        }
        QVERIFY(told.isEmpty());
        QVERIFY(state.contains("image slv1.bin 3000") && state.contains("image MASTER.BIN 5000"));
        QVERIFY(state.contains("update 48 closed") && state.contains("update 49 closed"));
        QCOMPARE(readFile(target), program);
    }
};

QTEST_MAIN(TestService)

#include "test_service.moc"
