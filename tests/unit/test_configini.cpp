// Catches a Config.ini reader that counts the label in bytes instead of characters, keeps a
// trailing CR, takes a bad or out-of-range number, compares options loosely, reads past its
// bound or trusts a line the bound cut off, or keeps stale values from a previous read. (The
// cam-board type's defaults are checked by the default-block test.)
#include "data/configini.h"
#include "data/machinedata.h"
#include "platform/atomicfile.h"
#include "testroot.h"
#include "testtable.h"

#include <QStringEncoder>
#include <QTest>

using Fields = ConfigIni::Fields;
Q_DECLARE_METATYPE(Fields)

namespace {

// Labels of the lengths the reader drops: 9, 11, 10, 13, 6 and 14 characters.
QByteArray lines(const QList<QByteArray> &values, const QByteArray &eol = "\n")
{
    static const char *const labels[] = {"ColorRed=", "ColorGreen=", "ColorBlue=", "CamBoardType=", "Pech =", "DensityOption="};
    QByteArray out;
    for (int i = 0; i < values.size(); ++i)
        out += labels[i] + values[i] + eol;
    return out;
}

const QList<QByteArray> kFull = {"12", "34", "56", "Config_Triangle_1234", "Config_Pech_Yes", "Config_Density_2324"};

} // namespace

class TestConfigIni : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        TestTable::columns<QByteArray, Fields>("contents", "want");
        const Fields d = ConfigIni::defaults();
        QTest::addRow("empty") << QByteArray() << d;
        QTest::addRow("full") << lines(kFull) << Fields{12, 34, 56, 1, 1, 1};
        QTest::addRow("full, no final newline") << lines(kFull).chopped(1) << Fields{12, 34, 56, 1, 1, 1};
        QTest::addRow("CRLF") << lines(kFull, "\r\n") << Fields{12, 34, 56, 1, 1, 1};
        QTest::addRow("three lines") << lines({"1", "2", "3"}) << Fields{1, 2, 3, 0, 0, 0};
        QTest::addRow("TAVRO") << lines({"85", "0", "255", "Config_Triangle_TAVRO"}) << Fields{85, 0, 255, 2, 0, 0};
        QTest::addRow("lower case") << lines({"1", "2", "3", "config_triangle_tavro", "config_pech_yes"}) << Fields{1, 2, 3, 0, 0, 0};
        QTest::addRow("trailing blank") << lines({"1", "2", "3", "Config_Triangle_1234 "}) << Fields{1, 2, 3, 0, 0, 0};
        QTest::addRow("short label line") << QByteArray("R=12\nG=\nB\nCam\n") << d;
        QTest::addRow("letters") << lines({"abc", "12x", "0x10"}) << d;
        QTest::addRow("out of range") << lines({"256", "-1", "99999999999"}) << d;
        QTest::addRow("blanks around number") << lines({" 7 ", "\t8", "9"}) << Fields{7, 8, 9, 0, 0, 0};
        QTest::addRow("NUL in number") << lines({QByteArray("1\0" "2", 3), "2", "3"}) << Fields{85, 2, 3, 0, 0, 0};
        QTest::addRow("bad bytes") << QByteArray("\xff\xfe\x80\x81\x82\x83\x84\x85\x86" "7\n\xc3\x28\n") << Fields{85, 0, 255, 0, 0, 0};
        const QByteArray longLine = "ColorRed=" + QByteArray(ConfigIni::kMaxBytes, ' ') + "12\nColorGreen=5\n";
        QTest::addRow("over-long first line") << longLine << d;
        QTest::addRow("long tail after six lines") << lines(kFull) + QByteArray(4 * ConfigIni::kMaxBytes, 'x')
                                                   << Fields{12, 34, 56, 1, 1, 1};
        QByteArray cut = lines({"1", "2"});
        cut += "ColorBlue=" + QByteArray(ConfigIni::kMaxBytes - cut.size() - 11, '0') + "3";
        QTest::addRow("line ends exactly at bound") << cut << Fields{1, 2, 3, 0, 0, 0};
        QTest::addRow("line cut by bound") << cut + "4" << Fields{1, 2, 255, 0, 0, 0};
        QTest::addRow("UTF-8 label") << QString::fromUtf8("红色分量的数值是：9\n").toUtf8() << Fields{9, 0, 255, 0, 0, 0};
    }
    void parse()
    {
        auto [contents, want] = TestTable::fetch<QByteArray, Fields>("contents", "want");
        QCOMPARE(ConfigIni::parse(contents), want);
    }

    void gbkLabelCountsCharacters()
    {
        QStringEncoder gbk("GBK");
        if (!gbk.isValid())
            QSKIP("no GBK codec in this Qt build; install libicu with scripts/setup.sh");
        // Nine characters, eighteen bytes: dropping bytes would leave half the label.
        const QByteArray line = gbk.encode(QString::fromUtf8("红色分量的数值是："));
        QCOMPARE(line.size(), 18);
        QCOMPARE(ConfigIni::parse(line + "40\r\n" + "ColorGreen=41\n"), (Fields{40, 41, 255, 0, 0, 0}));
    }

    // The panel's read from the data root; a previous read's values never survive.
    void readFromDataRoot()
    {
        TestRoot root;
        MachineData machine;
        const auto read = [&machine] {
            machine.setControllerConfig({7, 7, 7, 7, 7, 7});
            readConfigIni(machine);
            return machine.controllerConfig();
        };
        QCOMPARE(read(), ConfigIni::defaults());
        QVERIFY(AtomicFile::save(root.file("/mnt/ide/knit/Config.ini"), lines(kFull)));
        QCOMPARE(read(), (Fields{12, 34, 56, 1, 1, 1}));
    }
};

QTEST_GUILESS_MAIN(TestConfigIni)
#include "test_configini.moc"
