// The .wrk file as the browser reads and prints it, and the carrier start strip's reading of
// the program. Faults caught: a view that prints a wrong word (each word of the test block
// holds its own index, so a wrong index shows as a wrong number) or pads it wrongly; a file of
// the wrong size taken, or its bytes left behind; a carrier found through an inactive field or
// only through the first field, a row's side taken the wrong way round, replacement applied
// with several pieces.
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/cntprogram.h"
#include "data/machinedata.h"
#include "data/carrierstartmarks.h"
#include "data/workfile.h"

#include <QTest>

Q_DECLARE_METATYPE(WorkFile::View)

namespace {

QString numbers(int blanks, int first, int step, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QString(blanks, QLatin1Char(' ')) + QString::number(first + i * step);
    return s;
}

QList<int> marked(const std::array<bool, 8> &side)
{
    QList<int> out;
    for (int c = 0; c < 8; ++c) {
        if (side[std::size_t(c)])
            out << c + 1;
    }
    return out;
}

} // namespace

class TestWorkFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void views_data()
    {
        TestTable::columns<WorkFile::View, int, QString>("view", "line", "text");
        QTest::addRow("density group 24") << WorkFile::Density << 24 << "   第24组" + numbers(5, 184, 1, 8);
        QTest::addRow("speed group 1") << WorkFile::Speed << 1 << "   第01组" + numbers(7, 240, 1, 1);
        QTest::addRow("rollers group 24") << WorkFile::Rollers << 24 << "   第24组" + numbers(11, 293, 30, 3);
        QTest::addRow("carriers 1-4 line 8") << WorkFile::CarrierParking << 8 << "   第08组" + numbers(8, 367, 8, 8);
        QTest::addRow("carriers 5-8 line 1") << WorkFile::CarrierParking << 10 << "   第01组" + numbers(8, 424, 8, 8);
        QTest::addRow("single piece") << WorkFile::Replace << 1 << "    替换为:" + numbers(10, 696, 1, 8);
        QTest::addRow("carrier 8 of the pieces") << WorkFile::Replace << 10 << "    纱嘴  8" + numbers(10, 711, 8, 8);
    }
    void views()
    {
        auto [view, line, text] = TestTable::fetch<WorkFile::View, int, QString>("view", "line", "text");
        ParamBlock<kWorkSize> b;
        for (int i = 0; i < int(kWorkSize / 2); ++i)
            b.setWord(std::size_t(i), quint16(i));
        QCOMPARE(WorkFile::view(view, b.toByteArray()).value(line), text);
    }

    void size()
    {
        TestRoot root;
        QByteArray out;
        for (const int n : {0, 1555, 1556, 1557}) {
            QVERIFY(TestBytes::writeFile(root.file("/w.wrk"), QByteArray(n, '\7')));
            QCOMPARE(WorkFile::read(root.file("/w.wrk"), &out), n == 1556);
            QCOMPARE(out.size(), n == 1556 ? 1556 : 0);
        }
    }

    // Rows: 1 carrier 1 (first field), 2 carrier 2 (second field), 3 carrier 3 in an inactive
    // field, 4 carriers 1 and 3; carrier 8 never.
    void showStarts()
    {
        TestRoot root;
        QByteArray cnt(5 * 128, '\0');
        const int fields[][3] = {{1, 0, 0x01}, {2, 1, 0x02}, {4, 0, 0x05}};
        for (const auto &f : fields) {
            cnt[f[0] * 128 + 80 + 3 * f[1]] = char(0x80);
            cnt[f[0] * 128 + 81 + 3 * f[1]] = char(f[2]);
        }
        cnt[3 * 128 + 81] = char(0x04);
        MachineData data;
        QVERIFY(TestBytes::writeFile(root.file("/p.cnt"), cnt) && CntProgram::load(data, root.file("/p.cnt")).ok);
        data.controllerState().setWord(4, 4);
        const CarrierStartMarks::Rows first = CarrierStartMarks::firstRows(data);
        QCOMPARE(QList<int>(first.begin(), first.end()), QList<int>({1, 2, 4, 0, 0, 0, 0, 0}));
        const std::array<int, 8> by{5, 6, 0, 2, 2, 2, 2, 2};
        CarrierStartMarks::Strip s = CarrierStartMarks::look(first, false, 1, by);
        QCOMPARE(marked(s.left), QList<int>{1});
        QCOMPARE(marked(s.right), QList<int>({2, 3}));
        s = CarrierStartMarks::look(first, true, 1, by);
        QCOMPARE(marked(s.left), QList<int>{5});
        QCOMPARE(marked(s.right), QList<int>{6});
        QCOMPARE(marked(CarrierStartMarks::look(first, true, 2, by).right), QList<int>({2, 3}));
    }
};

QTEST_GUILESS_MAIN(TestWorkFiles)
#include "test_workfiles.moc"
