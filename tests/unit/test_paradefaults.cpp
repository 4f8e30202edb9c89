// Catches a wrong factory default (a word off by one in a range, a value of the wrong cam-board
// type, a missing word), a default image of the wrong size or byte order, and an init function
// that reports success without writing, or loses the defaults when /tmp is unusable.
#include "data/parablocks.h"
#include "data/parainit.h"
#include "testroot.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

struct Range
{
    const char *words; // "a", "a-b" or "a,b,c"
    unsigned short value[3];
};

// Written from the factory-default table, by cam-board type 0, 1, 2.
const Range kSystemTable[] = {
    {"0", {1, 1, 1}},          {"1", {90, 100, 90}},     {"2", {60, 60, 60}},
    {"3", {20, 30, 20}},       {"4", {12, 15, 12}},      {"5", {1200, 1200, 1200}},
    {"6", {10, 10, 10}},       {"7", {70, 60, 70}},      {"8", {1, 1, 1}},
    {"9", {30, 10, 30}},       {"10", {3, 1, 3}},        {"11", {25, 20, 25}},
    {"12,17", {300, 200, 220}}, {"13,15,19,21", {550, 200, 100}}, {"14,16,18,20", {50, 200, 340}},
    {"22", {1, 1, 1}},         {"23", {20, 20, 20}},     {"24", {255, 255, 255}},
    {"25-27", {0, 0, 0}},      {"28", {2, 2, 2}},        {"29", {0, 0, 0}},
    {"30", {686, 623, 727}},   {"31", {643, 579, 669}},  {"32", {635, 560, 657}},
    {"33", {571, 573, 573}},   {"34", {563, 560, 560}},  {"35", {1306, 1274, 1384}},
    {"36", {437, 494, 466}},   {"37", {20710, 22039, 23800}}, {"38-39", {500, 500, 500}},
    {"40", {40, 30, 50}},      {"41", {5, 10, 5}},       {"42-43", {7, 7, 7}},
    {"44", {4, 4, 4}},         {"45-46", {6, 6, 6}},     {"47,49", {1, 2, 1}},
    {"48", {2, 2, 2}},         {"50", {500, 500, 500}},  {"51", {40, 100, 80}},
    {"52", {60, 100, 80}},     {"53", {30, 30, 80}},     {"54", {0, 1, 0}},
    {"55", {1000, 2000, 2000}}, {"56", {2500, 2000, 2000}}, {"57", {12, 12, 12}},
    {"58", {624, 624, 636}},   {"59", {23, 23, 23}},     {"60-75", {500, 500, 500}},
    {"76-83", {0, 0, 0}},      {"84-137", {1000, 1000, 1000}}, {"186-201", {0, 0, 0}},
};

struct WorkRange
{
    const char *words;
    QList<int> cycle; // values repeated over the range
};

const WorkRange kWorkTable[] = {
    {"0-175", {180}}, {"176-191", {10}}, {"192-239", {180}},
    {"240-291", {40}}, {"292", {1}}, {"293-321", {40}}, {"322", {1}}, {"323-351", {40}},
    {"352", {1}}, {"353-359", {40}}, {"360-487", {8, 10, 12, 14, 16, 18, 20, 22}},
    {"488-495", {8}}, {"496-503", {0}}, {"504-695", {8}}, {"696-775", {1, 2, 3, 4, 5, 6, 7, 8}},
    {"776", {1}}, {"777", {0}},
};

const WorkRange kMouthTable[] = {{"0-63", {0}}, {"64-383", {100}}, {"384-639", {0}}};

QList<int> words(const QString &list)
{
    QList<int> out;
    for (const QString &part : list.split(QLatin1Char(','))) {
        const QStringList ends = part.split(QLatin1Char('-'));
        for (int w = ends.first().toInt(); w <= ends.last().toInt(); ++w)
            out.append(w);
    }
    return out;
}

QList<int> expectedSystem(int type)
{
    QList<int> v(202, -1);
    for (const Range &r : kSystemTable) {
        for (int w : words(QLatin1String(r.words)))
            v[w] = r.value[type];
    }
    for (int w = 138; w <= 185; ++w)
        v[w] = (w - 138) % 3 == 0 ? 100 : 0;
    return v;
}

template <std::size_t N>
QList<int> expected(const WorkRange (&table)[N], int count)
{
    QList<int> v(count, -1);
    for (const WorkRange &r : table) {
        const QList<int> ws = words(QLatin1String(r.words));
        for (int i = 0; i < ws.size(); ++i)
            v[ws[i]] = r.cycle[i % r.cycle.size()];
    }
    return v;
}

QList<int> wordsOf(const QByteArray &bytes)
{
    QList<int> v;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        v.append(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (bytes.size() % 2)
        v.append(-2); // an odd size is never right
    return v;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

enum Block { System, Work, Mouth };

// Builds one block's defaults and returns init's result and the block as it is in memory.
unsigned char build(int which, QByteArray *memory)
{
    const unsigned char ok = which == System ? initsystemparam() : which == Work ? initworkparam() : initelseparam();
    *memory = which == System ? para_system.toByteArray() : which == Work ? para_work.toByteArray() : run_mouth_speed.toByteArray();
    return ok;
}

QList<int> want(int which, int type)
{
    return which == System ? expectedSystem(type) : which == Work ? expected(kWorkTable, 778) : expected(kMouthTable, 640);
}

} // namespace

class TestParaDefaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ctro_config[3] = 0;
        para_system.clear();
        para_work.clear();
        run_mouth_speed.clear();
    }

    // In memory and in the /tmp image, word by word (a failure names the first wrong word).
    void defaults_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("file");
        for (int t = 0; t < 3; ++t)
            QTest::addRow("para_system, cam board %d", t) << int(System) << t << "/tmp/default.sys";
        QTest::addRow("para_work") << int(Work) << 0 << "/tmp/default.wrk";
        QTest::addRow("run_mouth_speed") << int(Mouth) << 0 << "/tmp/default.mth";
    }
    void defaults()
    {
        QFETCH(int, which);
        QFETCH(int, type);
        QFETCH(QString, file);
        TestRoot root;
        ctro_config[3] = type;
        QByteArray memory;
        QCOMPARE(build(which, &memory), 1);
        QCOMPARE(wordsOf(memory), want(which, type));
        QCOMPARE(wordsOf(readFile(root.file(file))), want(which, type));
    }

    void blockBounds()
    {
        ParaBlock<kSystemSize> b;
        b.setWord(0, 0x1234);
        b.setWord(201, 0xbeef);
        b.setWord(202, 0xffff);
        b.setWord(std::size_t(-1) / 2 + 1, 0xffff); // twice this index wraps to 0
        QCOMPARE(int(b.word(0)), 0x1234);
        QCOMPARE(int(b.word(201)), 0xbeef);
        QCOMPARE(int(b.word(202)), 0);
        QCOMPARE(int(b.word(std::size_t(-1) / 2 + 1)), 0);
        QCOMPARE(int(b.byte(404)), 0);
    }

    // Without a usable /tmp the result is 0, yet the defaults are in memory.
    void unusableTmp_data()
    {
        QTest::addColumn<bool>("fileInPlace");
        QTest::addRow("tmp missing") << false;
        QTest::addRow("tmp is a file") << true;
    }
    void unusableTmp()
    {
        QFETCH(bool, fileInPlace);
        TestRoot root;
        QVERIFY(QDir(root.file("/tmp")).removeRecursively());
        if (fileInPlace) {
            QFile f(root.file("/tmp"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        ctro_config[3] = 2;
        for (int which : {System, Work, Mouth}) {
            QByteArray memory;
            QCOMPARE(build(which, &memory), 0);
            QCOMPARE(wordsOf(memory), want(which, 2));
        }
    }
};

QTEST_GUILESS_MAIN(TestParaDefaults)
#include "test_paradefaults.moc"
