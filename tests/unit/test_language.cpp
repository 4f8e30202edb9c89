// Catches a language choice read from or written to the wrong file or section, a code that
// could name a file elsewhere ("../x") taken as a language, a save that loses the file's other
// lines or reports success when it failed, a missing, cut-short or foreign translation file
// installed instead of falling back to Chinese (a translation's place markers are the menu
// language test's, with the glyphs of the same file). Choice cells
// must take their words in either language: "On" typed on the English screen stores 1, and so
// does "打开"; a lock cell's shown state stays refused in English as in Chinese. An alarm's
// text lookup that picks the wrong entry (at a range's end, for an unknown code or type); its
// text goes to the journal and the office in Chinese whatever the panel shows, and the
// journal's lines come back in the panel's language only while they still are their code's.
// A system setting or grid cell a page shows whose factory default its cell would refuse, or
// whose label, help or question is not marked for translation; a grid cell off its grid's words.
#include "data/alarmtexts.h"
#include "data/factorydefaults.h"
#include "data/protocol.h"
#include "data/rackingvalue.h"
#include "data/systemsettings.h"
#include "logic/mainwin/language.h"
#include "logic/mainwin/translations.h"
#include "logic/params/celltext.h"
#include "logic/params/settingcell.h"
#include "platform/atomicfile.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>

using TestBytes::readFile;
using TestBytes::writeFile;

namespace {

const QString kQmDir = QStringLiteral(KNIT_BINARY_DIR "/share/knitpanel/translations");
const QString kBuiltQm = kQmDir + QStringLiteral("/knitpanel_en.qm");
const ChoiceSet *const kSets[] = {&kOnOff, &kLock, &kSelectorType, &kRackingType, &kBaseType};

ParamCell choiceCell(const ChoiceSet *set)
{
    return {QString(), QString(), CellKind::Choice, set == &kLock ? 0 : 1, 2, 0, 0, 0, set};
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        AtomicFile::setWriteLimitForTesting(-1);
        Translations::apply(QString::fromLatin1(Language::kChinese));
    }

    void parse_data()
    {
        TestTable::columns<QByteArray, QString, bool>("text", "code", "refused");
        QTest::addRow("empty") << QByteArray() << "zh_CN" << false;
        QTest::addRow("English") << QByteArray("[panel]\nlanguage=en\n") << "en" << false;
        QTest::addRow("blanks, other keys") << QByteArray("# x\n[panel]\nsaver = 3\n language = en \n") << "en" << false;
        QTest::addRow("other section") << QByteArray("[fleet]\nlanguage=en\n") << "zh_CN" << false;
        QTest::addRow("path") << QByteArray("[panel]\nlanguage=../x\n") << "zh_CN" << true;
        QTest::addRow("unknown shape") << QByteArray("[panel]\nlanguage=english\n") << "zh_CN" << true;
        QTest::addRow("with region") << QByteArray("[panel]\nlanguage=zh_TW\n") << "zh_TW" << false;
        QTest::addRow("region in lower case") << QByteArray("[panel]\nlanguage=en_us\n") << "zh_CN" << true;
        QTest::addRow("region cut short") << QByteArray("[panel]\nlanguage=en_U\n") << "zh_CN" << true;
        QTest::addRow("binary") << QByteArray("[panel]\nlanguage=en\n\0\xff", 21) << "zh_CN" << true;
        QTest::addRow("too long") << QByteArray("[panel]\nlanguage=en\n") + QByteArray(5000, '#') << "zh_CN" << true;
    }
    void parse()
    {
        auto [text, code, refused] = TestTable::fetch<QByteArray, QString, bool>("text", "code", "refused");
        QString why;
        QCOMPARE(Language::parse(text, &why), code);
        QCOMPARE(!why.isEmpty(), refused);
    }

    void withLanguage_data()
    {
        TestTable::columns<QByteArray, QByteArray>("before", "after");
        QTest::addRow("no file") << QByteArray() << QByteArray("[panel]\nlanguage=en\n");
        QTest::addRow("replaced in place") << QByteArray("[panel]\nlanguage=zh_CN\nsaver=3\n[x]\nlanguage=de\n")
                                           << QByteArray("[panel]\nlanguage=en\nsaver=3\n[x]\nlanguage=de\n");
        QTest::addRow("added to its section") << QByteArray("[panel]\nsaver=3\n[x]\na=1\n")
                                              << QByteArray("[panel]\nsaver=3\nlanguage=en\n[x]\na=1\n");
        QTest::addRow("second one dropped") << QByteArray("[panel]\nlanguage=de\nlanguage=fr\n")
                                            << QByteArray("[panel]\nlanguage=en\n");
        QTest::addRow("section added") << QByteArray("[x]\na=1\n") << QByteArray("[x]\na=1\n[panel]\nlanguage=en\n");
    }
    void withLanguage()
    {
        auto [before, after] = TestTable::fetch<QByteArray, QByteArray>("before", "after");
        const QByteArray written = Language::withLanguage(before, QStringLiteral("en"));
        QCOMPARE(written, after);
        QString why;
        QCOMPARE(Language::parse(written, &why), QStringLiteral("en"));
    }

    void saveAndLoad()
    {
        TestRoot root;
        QCOMPARE(Language::load(), QStringLiteral("zh_CN"));
        QVERIFY(Language::save(QStringLiteral("en")));
        QCOMPARE(readFile(root.file("/mnt/ide/knit/panel.ini")), QByteArray("[panel]\nlanguage=en\n"));
        QCOMPARE(Language::load(), QStringLiteral("en"));

        QString why;
        QVERIFY(!Language::save(QStringLiteral("../x"), &why));
        QVERIFY(!why.isEmpty());
        AtomicFile::setWriteLimitForTesting(0);
        QVERIFY(!Language::save(QStringLiteral("zh_CN"), &why));
        QCOMPARE(readFile(root.file("/mnt/ide/knit/panel.ini")), QByteArray("[panel]\nlanguage=en\n"));
        AtomicFile::setWriteLimitForTesting(-1);

        // A damaged file reads as Chinese and is written afresh on the next choice.
        QVERIFY(writeFile(root.file("/mnt/ide/knit/panel.ini"), QByteArray("\xff\xfe[panel]\0", 10)));
        QCOMPARE(Language::load(), QStringLiteral("zh_CN"));
        QVERIFY(Language::save(QStringLiteral("en")));
        QCOMPARE(readFile(root.file("/mnt/ide/knit/panel.ini")), QByteArray("[panel]\nlanguage=en\n"));
    }

    void translationFiles_data()
    {
        const QByteArray good = readFile(kBuiltQm);
        QVERIFY2(good != "<missing>", "build the target knitpanel_lrelease");
        // file: knitpanel_en.qm's bytes; null: no file
        TestTable::columns<QByteArray, QString>("file", "speaks");
        QTest::addRow("built") << good << "en";
        QTest::addRow("missing") << QByteArray() << "zh_CN";
        QTest::addRow("cut short") << good.left(good.size() / 2) << "zh_CN";
        QTest::addRow("not a translation") << QByteArray("[panel]\nlanguage=en\n") << "zh_CN";
        QTest::addRow("Qt's, another language")
            << readFile(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm") << "zh_CN";
    }
    void translationFiles()
    {
        auto [file, speaks] = TestTable::fetch<QByteArray, QString>("file", "speaks");
        QTemporaryDir dir;
        if (!file.isNull())
            QVERIFY(writeFile(dir.filePath("knitpanel_en.qm"), file));
        QCOMPARE(Translations::apply(QStringLiteral("en"), dir.path()), speaks);
        QCOMPARE(Translations::current(), speaks);
        QCOMPARE(QCoreApplication::translate("MachineState", "停机"), speaks == "en" ? QStringLiteral("Stopped") : QStringLiteral("停机"));
        const QVector<Translations::Installed> installed = Translations::installed(dir.path());
        QCOMPARE(installed.size(), speaks == "en" ? 2 : 1);
        QCOMPARE(installed.first().name, QStringLiteral("中文"));
        if (speaks == "en")
            QCOMPARE(installed.last().name, QStringLiteral("English"));
        QCOMPARE(Translations::apply(QStringLiteral("zh_CN"), dir.path()), QStringLiteral("zh_CN"));
        QCOMPARE(QCoreApplication::translate("MachineState", "停机"), QStringLiteral("停机"));
    }

    void alarmTexts_data()
    {
        TestTable::columns<int, int, QString, QString>("type", "code", "source", "english");
        QTest::addRow("1/1") << 1 << 1 << "纱嘴未下落, 请按F6键切换 ! " << "Carrier not down, press F6 to switch ! ";
        QTest::addRow("2/32") << 2 << 32 << "UPS断电报警 ! " << "UPS power loss ! ";
        QTest::addRow("1/99 unknown") << 1 << 99 << "报警1 - 99" << "Alarm 1 - 99";
        QTest::addRow("2/99 unknown") << 2 << 99 << "报警2 - 99" << "Alarm 2 - 99";
        QTest::addRow("3/48 unknown below a range") << 3 << 48 << "报警3 - 48" << "Alarm 3 - 48";
        QTest::addRow("3/54 range end") << 3 << 54 << "沉降马达故障报警 ! " << "Sinker motor fault ! ";
        QTest::addRow("3/55 unknown past it") << 3 << 55 << "报警3 - 55" << "Alarm 3 - 55";
        QTest::addRow("0/0 unknown type") << 0 << 0 << "未知类型00" << "Unknown type 00";
        QTest::addRow("9/5 unknown type") << 9 << 5 << "未知类型95" << "Unknown type 95";
    }
    void alarmTexts()
    {
        auto [type, code, source, english] = TestTable::fetch<int, int, QString, QString>("type", "code", "source", "english");
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        const auto t = static_cast<unsigned char>(type);
        const auto c = static_cast<unsigned char>(code);
        QCOMPARE(AlarmTexts::alarmSource(t, c), source);
        QCOMPARE(AlarmTexts::shown(t, c), english);
        QCOMPARE(AlarmTexts::shown(type, code, source), english);
        QCOMPARE(AlarmTexts::shown(type, code, QStringLiteral("旧的报警")), QStringLiteral("旧的报警"));
        QCOMPARE(AlarmTexts::shown(type + 256, code, source), source);
    }

    // A choice cell is confirmed with the state it shows or the digit typed into it, never by
    // reading its text back; a shown lock and an unknown value are refused.
    void choiceStates_data()
    {
        // set: index in kSets; shown: the stored value shown, -1: digit typed instead;
        // stored: what Enter stores, -1: refused
        TestTable::columns<int, int, int, int>("set", "shown", "digit", "stored");
        QTest::addRow("on shown") << 0 << 1 << -1 << 1;
        QTest::addRow("off typed") << 0 << -1 << 2 << 2;
        QTest::addRow("unknown shown") << 0 << 0 << -1 << -1;
        QTest::addRow("digit 0, no word") << 0 << -1 << 0 << -1;
        QTest::addRow("lock none shown") << 1 << 0 << -1 << 0;
        QTest::addRow("lock left shown") << 1 << 1 << -1 << -1;
        QTest::addRow("lock right typed") << 1 << -1 << 2 << 2;
        QTest::addRow("lock none typed") << 1 << -1 << 0 << 0;
        QTest::addRow("beyond the set") << 2 << 3 << -1 << -1;
    }
    void choiceStates()
    {
        auto [set, shown, digit, stored] = TestTable::fetch<int, int, int, int>("set", "shown", "digit", "stored");
        const ParamCell cell = choiceCell(kSets[set]);
        const int choice = shown >= 0 ? CellText::shownChoice(cell, static_cast<unsigned short>(shown)) : CellText::typedChoice(cell, digit);
        const CellText::Parsed p = CellText::choose(cell, choice, 0); // no bed-width bound
        QCOMPARE(p.status, stored < 0 ? CellText::UnknownChoice : CellText::Value);
        if (stored >= 0)
            QCOMPARE(int(p.stored), stored);
    }

    // A page's system setting or grid, made from its description: its factory default within
    // the range the cell takes, for every cam board (a default the operator could not enter
    // again, a range bound to the wrong word), a grid's cells each on a word of its own within
    // the grid's (a wrong step), and its texts marked in the cells' context (Chinese on the
    // English screen).
    void settingCells_data()
    {
        TestTable::columns<int, int>("word", "grid"); // grid: its place in grids(), -1 for none
        for (const SystemSettings::Setting &s : SystemSettings::all()) {
            if (s.entry != SystemSettings::Entry::None)
                QTest::addRow("word %d", s.first) << int(s.first) << -1;
        }
        for (int g = 0; g < int(SystemSettings::grids().size()); ++g)
            QTest::addRow("grid from word %d", SystemSettings::grids()[std::size_t(g)].first) << -1 << g;
    }
    void settingCells()
    {
        auto [word, grid] = TestTable::fetch<int, int>("word", "grid");
        QList<ParamCell> cells{SettingCell::of(word, word)};
        QList<const char *> texts;
        if (grid < 0) {
            const SystemSettings::Setting &setting = *SystemSettings::shown(word);
            texts = {setting.label, setting.help, setting.question};
        } else {
            const SystemSettings::Grid &g = SystemSettings::grids()[std::size_t(grid)];
            cells = SettingCell::table(g).cells;
            texts = {g.help, g.numberedLabel};
            texts += QList<const char *>(std::begin(g.headers), std::begin(g.headers) + g.columns);
            for (int r = 0; g.labels && r < g.rows; ++r)
                texts << g.labels[r];
            QSet<int> words;
            for (const ParamCell &cell : cells) {
                QVERIFY2(cell.word >= g.first && cell.word <= g.last && !words.contains(cell.word), qPrintable(QString::number(cell.word)));
                words.insert(cell.word);
            }
        }
        for (int camType = 0; camType < 3; ++camType) {
            ParamBlock<kSystemSize> defaults;
            FactoryDefaults::buildSystem(defaults, camType);
            for (const ParamCell &cell : cells) {
                const unsigned short stored = defaults.word(std::size_t(cell.word));
                const int shown = stored - cell.bias;
                unsigned short racking = 0;
                // A racking value is typed as coarse and fine texts: the default comes back from them.
                const bool fits = cell.kind == CellKind::Racking
                    ? RackingValue::encode(RackingValue::coarseText(stored), QString::number(RackingValue::fine(stored)), 0,
                                           &racking) == RackingValue::Ok && racking == stored
                    : shown >= cell.min && shown <= CellText::maxOf(cell, defaults.word(Protocol::BedWidthWord));
                QVERIFY2(fits, qPrintable(QStringLiteral("cam board %1, word %2: %3").arg(camType).arg(cell.word).arg(shown)));
            }
        }
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        for (const char *text : texts) {
            const bool latin = text && QString::fromUtf8(text).toLatin1() == text; // "R1": the same in either language
            QVERIFY2(!text || latin || CellText::translated(QString::fromUtf8(text)) != QString::fromUtf8(text), text);
        }
    }

    // What a digit writes, and what the cell then shows, fits the cell in either language.
    void choiceWordsFit()
    {
        for (const QString &language : {QStringLiteral("zh_CN"), QStringLiteral("en")}) {
            QCOMPARE(Translations::apply(language, kQmDir), language);
            for (const ChoiceSet *set : kSets) {
                for (int digit = 0; digit < 3; ++digit) {
                    const QString typed = CellText::typed(choiceCell(set), digit);
                    if (typed.isNull())
                        continue;
                    const QString shown = CellText::show(choiceCell(set), static_cast<unsigned short>(digit));
                    QVERIFY2(typed.size() <= 8 && shown.size() <= 8, qPrintable(language + ": " + typed));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "test_language.moc"
