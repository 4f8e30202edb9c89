// The editors' logic against a recorded link. Faults caught: a field storing at the wrong
// offset for its row's parity, in the wrong byte order, or sending a field that is only
// stored; the loop rules checked in the wrong order; a store that goes on (or forgets the
// first byte) after a refused send, or stores when the update could not be opened; an
// exchange that goes on after a refusal; a save without a checksum; a failed save that
// closes the page and drops the edits; the column jump landing
// on a column no byte holds or a page past the last; a live pattern change made while the
// carriage runs or after a refused byte; a key-panel label that types other than it names.
#include "modaldriver.h"
#include "paneltouch.h"
#include "testtable.h"

#include "editors/cntedit.h"
#include "logic/editors/cntstore.h"
#include "logic/editors/patgrid.h"
#include "logic/editors/patstore.h"
#include "ui/programeditorkeys.h"

#include "data/cntfile.h"
#include "data/machinedata.h"
#include "platform/atomicfile.h"

#include "testbytes.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records every command; the row send numbered failAt (from 1) and every later one go
// unanswered, and so does the opening when openFails.
struct Recorder
{
    QStringList log;
    int failAt = 0;
    bool openFails = false;
    unsigned int moto = 0;
    int rows = 0;

    EditorLink link()
    {
        EditorLink l;
        l.bracket = [this](int g, bool open) {
            log << QStringLiteral("%1 %2").arg(open ? "open" : "close").arg(g);
            return !(open && openFails);
        };
        l.row = [this](unsigned short a, unsigned short b, unsigned char v) {
            log << QStringLiteral("%1:%2:%3").arg(a).arg(b).arg(v);
            return failAt == 0 || ++rows < failAt;
        };
        l.motoStatus = [this] { return moto; };
        return l;
    }
    QStringList sends() const { return log.filter(QStringLiteral(":")); }
};

// A program of 12 rows, no checksum: row 10 loops 3 times, every auxiliary roller byte 0x83;
// with systems, row 3's first 40 bytes count 1 ... 40 and its system I carriers are 1 and 3.
QString writeProgram(const QTemporaryDir &dir, bool systems = false)
{
    QByteArray data(13 * 128, '\0');
    for (int r = 1; r <= 12; ++r)
        data[r * 128 + 95] = char(0x83);
    data[10 * 128 + 119] = 3;
    for (int i = 0; systems && i < 40; ++i)
        data[3 * 128 + i] = char(i + 1);
    if (systems)
        data[3 * 128 + 81] = char(0x05);
    const QString path = dir.filePath(QStringLiteral("p.cnt"));
    return TestBytes::writeFile(path, data) ? path : QString();
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void store_data()
    {
        // bytes: offsets and values afterwards
        // failAt: the row send refused, from 1 (0: none)
        TestTable::columns<int, int, int, QString, bool, QStringList, QString, QString, int>("row", "group", "index", "typed", "live", "sends", "bytes", "message", "failAt");
        const QString none;
        QTest::addRow("upper-left line, even row") << 2 << 0 << 0 << "300" << true << QStringList{"2:11:1", "2:10:44"} << "10=44 11=1 30=0" << none << 0;
        QTest::addRow("upper-left line, odd row") << 3 << 0 << 0 << "300" << true << QStringList{"3:31:1", "3:30:44"} << "30=44 31=1 10=0" << none << 0;
        QTest::addRow("upper-right line, even row") << 2 << 0 << 1 << "9999" << true << QStringList{"2:31:39", "2:30:15"} << "30=15 31=39" << none << 0;
        QTest::addRow("lower-left selectors stored only") << 3 << 5 << 0 << "0F" << true << QStringList{} << "23=1 24=128 3=0" << none << 0;
        QTest::addRow("upper-right H selectors, odd row") << 3 << 2 << 2 << "2" << true << QStringList{"3:18:0", "3:17:4"} << "17=4" << none << 0;
        QTest::addRow("bad selector") << 2 << 1 << 0 << "0G" << true << QStringList{} << "13=0" << "参数错误" << 0;
        QTest::addRow("racking L3*") << 4 << 7 << 2 << "L3*" << true << QStringList{"4:101:3", "4:100:193"} << "100=193 101=3" << none << 0;
        QTest::addRow("auxiliary roller keeps bit 7") << 4 << 8 << 1 << "5" << true << QStringList{"4:95:5"} << "95=133" << none << 0;
        QTest::addRow("density out of range") << 4 << 3 << 1 << "25" << true << QStringList{} << "92=0" << "参数错误" << 0;
        QTest::addRow("return row stored minus one") << 10 << 7 << 0 << "5" << true << QStringList{"10:118:0", "10:117:4"} << "117=4" << none << 0;
        QTest::addRow("loop: row 1") << 1 << 7 << 0 << "1" << true << QStringList{} << "117=0" << "第1行不能设置循环" << 0;
        QTest::addRow("loop: not below the row") << 10 << 7 << 0 << "10" << true << QStringList{} << "117=0" << "回到行数要小于当前行数" << 0;
        QTest::addRow("loop: count first") << 9 << 7 << 0 << "4" << true << QStringList{} << "117=0" << "请设置循环次数" << 0;
        QTest::addRow("loop: even to even") << 10 << 7 << 0 << "4" << true << QStringList{} << "117=0" << "偶数行不能回到偶数行" << 0;
        QTest::addRow("loop count on row 1") << 1 << 7 << 1 << "3" << true << QStringList{} << "119=0" << "第1行不能设置循环" << 0;
        QTest::addRow("another job's file") << 2 << 0 << 0 << "300" << false << QStringList{} << "10=44 11=1" << none << 0;
        // The first byte goes through, the second is refused: the first stays stored and the
        // program counts as changed, so the save keeps what the controller now holds.
        QTest::addRow("drop between bytes") << 2 << 0 << 0 << "300" << true << QStringList{"2:11:1", "2:10:44"} << "10=0 11=1"
                                            << "参数设置失败, 请重试 !" << 2;
    }
    void store()
    {
        auto [row, group, index, typed, live, failAt, message, sends, bytes] = TestTable::fetch<int, int, int, QString, bool, int, QString, QStringList, QString>("row", "group", "index", "typed", "live", "failAt", "message", "sends", "bytes");
        QTemporaryDir dir;
        Recorder rec{{}, failAt};
        CntStore s(rec.link());
        QCOMPARE(s.load(writeProgram(dir), live), CntStore::Loaded);
        const QByteArray loaded = s.buffer();
        s.setRow(row);
        const QString shown = s.enter(group, index, typed);
        QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.contains(message), qPrintable(shown));
        QCOMPARE(rec.sends().mid(0, sends.size()), sends);
        QStringList stored; // "offset=value" at the offsets bytes names
        for (const QString &pair : bytes.split(QLatin1Char(' '))) {
            const int offset = pair.section(QLatin1Char('='), 0, 0).toInt();
            stored << QStringLiteral("%1=%2").arg(offset).arg(quint8(s.buffer().at(row * 128 + offset)));
        }
        QCOMPARE(stored.join(QLatin1Char(' ')), bytes);
        QCOMPARE(s.changed(), s.buffer() != loaded);
        QCOMPARE(rec.log.value(0) == QLatin1String("open 13") && rec.log.last() == QLatin1String("close 13"), live);
    }

    // An unanswered opening stores nothing, for a field, a carrier and the exchange alike.
    void openingUnanswered()
    {
        QTemporaryDir dir;
        Recorder rec{{}, 0, true};
        CntStore s(rec.link());
        QCOMPARE(s.load(writeProgram(dir), true), CntStore::Loaded);
        const QByteArray before = s.buffer();
        for (const QString &m : {s.enter(0, 0, QStringLiteral("7")), s.toggleCarrier(0, 2), s.exchange()})
            QCOMPARE(m, QStringLiteral("进入设置界面失败, 请重试 !"));
        QCOMPARE(s.buffer(), before);
        QVERIFY(rec.sends().isEmpty() && !s.changed());
        QCOMPARE(rec.log.filter(QStringLiteral("close 13")).size(), 3);
    }

    void exchange_data()
    {
        TestTable::columns<int, int>("failAt", "sent");
        QTest::addRow("all 46") << 0 << 46;
        QTest::addRow("refused at the 5th") << 5 << 5;
        QTest::addRow("refused in the carriers") << 42 << 42;
    }
    void exchange()
    {
        auto [failAt, sent] = TestTable::fetch<int, int>("failAt", "sent");
        QTemporaryDir dir;
        Recorder rec{{}, failAt};
        CntStore s(rec.link());
        QCOMPARE(s.load(writeProgram(dir, true), true), CntStore::Loaded);
        s.setRow(3);
        QCOMPARE(s.exchange().isEmpty(), failAt == 0);
        const QStringList sends = rec.sends();
        QCOMPARE(sends.size(), sent);
        QCOMPARE(sends.mid(0, 2), (QStringList{"3:20:1", "3:0:21"}));
        if (failAt == 0)
            QCOMPARE(sends.mid(40), (QStringList{"3:83:0", "3:80:0", "3:84:5", "3:81:0", "3:85:0", "3:82:0"}));
        // What the controller refused is not stored: the row shows as the controller holds it.
        QCOMPARE(quint8(s.buffer().at(3 * 128 + 84)), quint8(failAt == 0 ? 5 : 0));
        QCOMPARE(rec.log.last(), QStringLiteral("close 13"));
    }

    // Arrow keys from a field: the index carried over between the narrow groups (0 and 4,
    // two fields) and the wide ones.
    void moves_data()
    {
        TestTable::columns<QList<int>, QList<int>, QList<int>>("from", "keys", "to");
        QTest::addRow("up into a narrow group") << QList<int>{5, 3} << QList<int>{Qt::Key_Up} << QList<int>{4, 1};
        QTest::addRow("down out of a narrow group") << QList<int>{0, 1} << QList<int>{Qt::Key_Down} << QList<int>{1, 2};
        QTest::addRow("down into a narrow group") << QList<int>{3, 2} << QList<int>{Qt::Key_Down} << QList<int>{4, 1};
        QTest::addRow("up out of group 4") << QList<int>{4, 1} << QList<int>{Qt::Key_Up} << QList<int>{3, 2};
        QTest::addRow("no wrap at the edges") << QList<int>{0, 0} << QList<int>{Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Right}
                                              << QList<int>{0, 1};
        QTest::addRow("no way below group 8") << QList<int>{8, 3} << QList<int>{Qt::Key_Down, Qt::Key_Right} << QList<int>{8, 3};
    }
    void moves()
    {
        auto [from, keys, to] = TestTable::fetch<QList<int>, QList<int>, QList<int>>("from", "keys", "to");
        CntStore::Place p{from[0], from[1]};
        for (int k : keys)
            p = CntStore::moved(p.group, p.index, k);
        QCOMPARE((QList<int>{p.group, p.index}), to);
    }

    // A field touched, then labels of the key panel beside it: what the field holds after the
    // confirmed Enter.
    void panel_data()
    {
        TestTable::columns<int, int, QString, QString>("group", "index", "touched", "shown");
        const QString ok = QStringLiteral("|确   定");
        QTest::addRow("digit: density") << 3 << 1 << "7" + ok << "7";
        QTest::addRow("digits: auxiliary roller") << 8 << 1 << "1|2" + ok << "12";
        QTest::addRow("A / F1, digit, B / F2: racking") << 7 << 2 << "A / F1|3|B / F2" + ok << "L3*";
        QTest::addRow("letters cycle: racking") << 7 << 2 << "A / F1|A / F1|1|B / F2|B / F2" + ok << "R1+";
    }
    void panel()
    {
        auto [group, index, touched, shown] = TestTable::fetch<int, int, QString, QString>("group", "index", "touched", "shown");
        QTemporaryDir dir;
        CntEdit page(machine_);
        page.setPath(writeProgram(dir));
        page.show();
        QTRY_VERIFY(!page.titleLine()->text().isEmpty());
        QTest::mouseClick(page.fieldEdit(group, index), Qt::LeftButton);
        auto *panel = page.findChild<ProgramEditorKeys *>();
        QTRY_VERIFY(panel->isVisible());
        ModalDriver driver;
        driver.pressOk(); // the confirmation
        QVERIFY(touchPanelKeys(panel, touched));
        QCOMPARE(page.fieldEdit(group, index)->text(), shown);
        QVERIFY(page.store().changed());
    }

    // A failed save asks whether to give the changes up; No keeps the page and its changes,
    // and the close key then saves them.
    void saveFailureKeepsEdits()
    {
        QTemporaryDir dir;
        const QString path = writeProgram(dir);
        CntEdit page(machine_);
        page.setPath(path);
        page.show();
        QTRY_VERIFY(!page.titleLine()->text().isEmpty());
        ModalDriver driver;
        driver.pressOk().pressOk().pressCancel().pressOk();
        QLineEdit *field = page.fieldEdit(0, 0);
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                          Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : field, k);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QVERIFY(page.store().changed());
        AtomicFile::setWriteLimitForTesting(0);
        page.reject();
        AtomicFile::setWriteLimitForTesting(-1);
        QVERIFY(page.isVisible());
        page.reject();
        QVERIFY(!page.isVisible());
        QCOMPARE(driver.texts.mid(1), (QStringList{"保存动作文件失败 , 请重试 !", "是否放弃修改 ?", "文件保存完毕 !"}));
        QCOMPARE(quint8(TestBytes::readFile(path).at(128 + 93)), quint8(7));
        // Saved whole with its checksum, which the program had not.
        QCOMPARE(checkCntFile(path), int(CntCheck::Ok));
        QCOMPARE(QFileInfo(path).size(), 13 * 128 + 1);
    }

    // The page grid of the editor (608 x 358 inside, cells 10 x 12: 29 byte columns, 28 lines a
    // page), or 20 lines a page where the lines are the point.
    void jumps_data()
    {
        // expected: page across, page up, column, line, half
        TestTable::columns<int, int, int, bool, int, QList<int>>("lineBytes", "height", "innerHeight", "byLine", "n", "expected");
        QTest::addRow("column 7 of width 8") << 4 << 3 << 358 << false << 7 << QList<int>{0, 0, 3, 0, 0};
        QTest::addRow("column 9 clamped to 8") << 4 << 3 << 358 << false << 9 << QList<int>{0, 0, 3, 0, 1};
        QTest::addRow("odd width: last page, last byte") << 58 << 3 << 358 << false << 117 << QList<int>{1, 0, 28, 0, 1};
        QTest::addRow("column 30 on page 2") << 58 << 3 << 358 << false << 60 << QList<int>{1, 0, 0, 0, 1};
        QTest::addRow("line 45 of 20 a page") << 4 << 100 << 252 << true << 45 << QList<int>{0, 2, 0, 4, 0};
        QTest::addRow("line 0 is line 1") << 4 << 100 << 252 << true << 0 << QList<int>{0, 0, 0, 0, 0};
        QTest::addRow("line past the top") << 4 << 100 << 252 << true << 500 << QList<int>{0, 4, 0, 19, 0};
    }
    void jumps()
    {
        auto [lineBytes, height, innerHeight, byLine, n, expected] = TestTable::fetch<int, int, int, bool, int, QList<int>>("lineBytes", "height", "innerHeight", "byLine", "n", "expected");
        PatGrid g;
        g.layout(608, innerHeight, 10, 12, lineBytes, height);
        if (byLine)
            g.findLine(unsigned(n));
        else
            g.findColumn(unsigned(n));
        g.clampCursor();
        QCOMPARE((QList<int>{g.pageAcross, g.pageUp, g.cursorColumn, g.cursorLine, g.half}), expected);
        QVERIFY(g.byteIndex() < lineBytes && g.line() < height);
    }

    void livePattern_data()
    {
        // failAt: -1: the opening is unanswered
        // line1: bytes of pattern line 1 afterwards
        TestTable::columns<bool, unsigned, int, QString, QString>("wholeLine", "moto", "failAt", "line1", "message");
        QTest::addRow("one byte") << false << 0u << 0 << "ab101010" << QString();
        QTest::addRow("carriage running") << false << 0x10000u << 0 << "10101010" << "机头正在运行";
        QTest::addRow("byte refused") << false << 0u << 1 << "10101010" << "花样文件修改失败2";
        QTest::addRow("whole line") << true << 0u << 0 << "77777777" << QString();
        QTest::addRow("line refused at byte 3") << true << 0u << 3 << "77771010" << "花样文件修改失败2";
        // The opening may have reached the controller: it is closed again.
        QTest::addRow("opening unanswered") << true << 0u << -1 << "10101010" << "花样文件修改失败1";
    }
    void livePattern()
    {
        auto [wholeLine, moto, failAt, message, line1] = TestTable::fetch<bool, unsigned, int, QString, QString>("wholeLine", "moto", "failAt", "message", "line1");
        QTemporaryDir dir;
        Recorder rec{{}, qMax(0, failAt), failAt < 0, moto};
        PatStore s(rec.link());
        QByteArray pattern(16, '\0'); // W = 4, height 3, the bytes of line j all 0x10 * j
        pattern[0] = 8;
        pattern[2] = 3;
        for (int j = 0; j < 3; ++j)
            pattern.replace(4 * (j + 1), 4, QByteArray(4, char(0x10 * j)));
        QVERIFY(TestBytes::writeFile(dir.filePath(QStringLiteral("p.pat")), pattern) && s.load(dir.filePath(QStringLiteral("p.pat"))));
        const QString m = wholeLine ? s.fillLine(1, 7, true) : s.enter(1, 0, 0xab, true);
        QVERIFY2(message.isEmpty() ? m.isEmpty() : m.contains(message), qPrintable(m));
        QString bytes;
        for (int k = 0; k < 4; ++k)
            bytes += QString::number(s.byte(1, k), 16).rightJustified(2, QLatin1Char('0'));
        QCOMPARE(bytes, line1);
        QCOMPARE(rec.log.contains(QStringLiteral("close 14")), moto == 0);
        QVERIFY(rec.sends().isEmpty() || rec.sends().first() == (wholeLine ? QStringLiteral("2:0:119") : QStringLiteral("2:0:171")));
    }

private:
    MachineData machine_;
};

QTEST_MAIN(TestEditors)

#include "test_editors.moc"
