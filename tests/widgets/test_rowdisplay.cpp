// Catches a row display that shows the wrong row (the two-row offset), the wrong direction,
// decodes a neighbouring record, picks the wrong density word for the block and parity, skips
// the transfer or idle-row density passes, misreads the roller bit 7 or the group-0 defaults,
// or reads past the 30-group tables.
#include "data/cntprogram.h"
#include "data/machinedata.h"
#include "data/rowcodecselect.h"
#include "mainwin/rowdisplay.h"
#include "platform/atomicfile.h"
#include "testroot.h"
#include "testtable.h"
#include "ui/touchlabel.h"

#include <QTest>

namespace {

constexpr int kRows = 8010;

enum Field { SpeedGroup, Speed, Aux, Open, Bed, Density };

} // namespace

class TestRowDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Row r: pattern line r * 4 + block in each block, so a wrong record shows at once.
        QByteArray image(kCntRecordSize * (kRows + 1), '\0');
        for (int r = 1; r <= kRows; ++r) {
            CntRow row{};
            for (int b = 0; b < 4; ++b) {
                CntRow::set16(row.block[b].pat_line, static_cast<unsigned short>(r * 4 + b));
                row.block[b].action = 8;
                CntRow::set16(row.block[b].select_h, static_cast<unsigned short>(1u << (b + 1)));
                CntRow::set16(row.block[b].select_a, static_cast<unsigned short>(0x8000u >> b));
            }
            row.density_group = 5;
            row.speed_group = 3;
            row.rora_aux = 0x85;
            row.rora_open = 0x05;
            std::memcpy(image.data() + r * kCntRecordSize, &row, sizeof row);
        }
        path_ = root_.file(QStringLiteral("/rows.cnt"));
        QVERIFY(AtomicFile::save(path_, image));
    }

    void init()
    {
        machine_.system().clear();
        machine_.work().clear();
        for (int w = 0; w < 778; ++w)
            machine_.work().setWord(std::size_t(w), static_cast<unsigned short>(1000 + w));
        machine_.system().setWord(4, 30);
        machine_.system().setWord(5, 200);
        QVERIFY(CntProgram::load(machine_, path_).ok);
        parent_ = new QWidget;
        parent_->resize(640, 480);
        display_ = new RowDisplay(machine_, parent_);
    }
    void cleanup() { delete parent_; }

    void rowOffset_data()
    {
        TestTable::columns<int, QString, QString, int>("row", "number", "direction", "decoded");
        QTest::addRow("%s", "row 1 shown as is") << 1 << "0001" << ">>>>>>>>" << 1;
        QTest::addRow("%s", "row 3 is program row 1") << 3 << "0001" << ">>>>>>>>" << 1;
        QTest::addRow("%s", "row 8002 is 8000") << 8002 << "8000" << "<<<<<<<<" << 8000;
    }
    void rowOffset()
    {
        auto [row, number, direction, decoded] = TestTable::fetch<int, QString, QString, int>("row", "number", "direction", "decoded");
        display_->paintRow(static_cast<unsigned short>(row));
        QCOMPARE(display_->rowNumber()->text(), number);
        QCOMPARE(display_->direction()->text(), direction);
        // Group 1 shows block 2, group 2 block 1.
        QCOMPARE(display_->cell(0, 2)->text(), QString::number(decoded * 4 + 1));
        QCOMPARE(display_->cell(1, 2)->text(), QString::number(decoded * 4 + 0));
        QCOMPARE(display_->cell(0, 6)->text(), selectorText(1u << 2));
        QCOMPARE(display_->cell(1, 9)->text(), selectorText(0x8000u >> 0));
    }

    void rowZeroAndBeyond()
    {
        display_->paintRow(5);
        display_->setLoopRows(3, 9);
        display_->paintRow(0);
        QCOMPARE(display_->rowNumber()->text(), QStringLiteral("0000"));
        QCOMPARE(display_->direction()->text(), QStringLiteral("========="));
        QCOMPARE(display_->speedGroup()->text(), QStringLiteral("Rst - 30"));
        QCOMPARE(display_->cell(0, 2)->text(), QStringLiteral(" "));
        QCOMPARE(display_->loopValue(RowDisplay::LoopStart)->text(), QStringLiteral(" "));
        display_->paintRow(7);
        display_->paintRow(8003); // past the program: ignored
        display_->paintRow(0x8005);
        QCOMPARE(display_->rowNumber()->text(), QStringLiteral("0005"));
        QCOMPARE(display_->cell(0, 2)->text(), QStringLiteral("21"));
        QCOMPARE(RowDisplay::toNum(1, 65535), QStringLiteral("65535"));
    }

    void fields_data()
    {
        TestTable::columns<int, int, int, QString>("offset", "value", "field", "text");
        // Work words: value 1000 + word number. Program row 4 (even), reported as row 6.
        QTest::addRow("%s", "speed group 3") << -1 << 0 << int(SpeedGroup) << "3# - 1242";
        QTest::addRow("%s", "speed group 40 past the table") << 93 << 40 << int(SpeedGroup) << "40# - ---";
        QTest::addRow("%s", "speed m/s") << -1 << 0 << int(Speed) << "速度:2.48 m/s";
        QTest::addRow("%s", "aux 0x80 is 23") << 95 << 0x80 << int(Aux) << "23#-1322";
        QTest::addRow("%s", "open 0x9f past the table") << 96 << 0x9f << int(Open) << "31#----";
        QTest::addRow("%s", "density 0 is group 23") << 92 << 0 << int(Density) << "23#-1179";
        QTest::addRow("%s", "racking, no transfer: dark blue") << -1 << 0 << int(Bed) << "<font color = darkblue >   ";
    }
    void fields()
    {
        auto [offset, value, field, text] = TestTable::fetch<int, int, int, QString>("offset", "value", "field", "text");
        if (offset >= 0)
            setProgramByte(std::size_t(4 * kCntRecordSize + offset), static_cast<unsigned char>(value));
        display_->paintRow(6);
        QLabel *const labels[] = {display_->speedGroup(), display_->speed(), display_->rollerValue(RowDisplay::AuxiliaryRoller),
                                  display_->rollerValue(RowDisplay::OpeningRoller), display_->rollerValue(RowDisplay::Bed), display_->cell(0, 3)};
        QCOMPARE(labels[field]->text(), text);
    }

    void densityPasses_data()
    {
        TestTable::columns<int, QList<int>, int, QString, QString>("row", "actions", "word59", "group1", "group2");
        const QList<int> knit{8, 8, 8, 8};
        // Odd row: group 1 back 1 (k = 2), group 2 front 1 (k = 0).
        QTest::addRow("%s", "odd row") << 5 << knit << 0 << "5#-1034" << "5#-1032";
        QTest::addRow("%s", "transfer, word 59 = 7") << 4 << QList<int>{1, 8, 8, 8} << 7 << "7#-1051" << "7#-1049";
        QTest::addRow("%s", "transfer, word 59 = 30 is 23") << 4 << QList<int>{1, 8, 8, 8} << 30 << "23#-1179" << "23#-1177";
        QTest::addRow("%s", "transfer, word 59 = 0 keeps the row's") << 4 << QList<int>{1, 8, 8, 8} << 0 << "5#-1035" << "5#-1033";
        QTest::addRow("%s", "idle beats word 59") << 4 << QList<int>{0, 0, 0, 0} << 7 << "24#-1187" << "24#-1185";
    }
    void densityPasses()
    {
        auto [row, actions, word59, group1, group2] = TestTable::fetch<int, QList<int>, int, QString, QString>("row", "actions", "word59", "group1", "group2");
        for (int b = 0; b < 4; ++b)
            setProgramByte(std::size_t(row * kCntRecordSize + b * 10 + 2), static_cast<unsigned char>(actions[b]));
        machine_.system().setWord(59, static_cast<unsigned short>(word59));
        display_->paintRow(static_cast<unsigned short>(row + 2));
        QCOMPARE(display_->cell(0, 3)->text(), group1);
        QCOMPARE(display_->cell(1, 3)->text(), group2);
        const bool transfer = actions.contains(1);
        QCOMPARE(display_->rollerValue(RowDisplay::Bed)->alignment() & Qt::AlignRight, transfer ? Qt::AlignRight : Qt::Alignment());
    }

private:
    void setProgramByte(std::size_t i, unsigned char value)
    {
        QByteArray program = machine_.program().toByteArray();
        program[qsizetype(i)] = char(value);
        machine_.setProgram(program, machine_.programRecords());
    }

    TestRoot root_;
    MachineData machine_;
    QString path_;
    QWidget *parent_ = nullptr;
    RowDisplay *display_ = nullptr;
};

QTEST_MAIN(TestRowDisplay)
#include "test_rowdisplay.moc"
