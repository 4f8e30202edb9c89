// The font configuration the panel loads before the toolkit. Faults caught: a configuration
// made current that names no cache folder (every start would scan the fonts), one that cannot
// be read replacing fontconfig's own start, a good one loaded but not made current (the toolkit
// would start fontconfig the long way after all), or made current and then freed with it.
#include "testtable.h"

#include "ui/fontconfiguration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fontconfig/fontconfig.h>

namespace {

QStringList fontDirs(FcConfig *config)
{
    QStringList dirs;
    FcStrList *list = FcConfigGetFontDirs(config);
    while (FcChar8 *dir = FcStrListNext(list))
        dirs.append(QFile::decodeName(reinterpret_cast<const char *>(dir)));
    FcStrListDone(list);
    return dirs;
}

} // namespace

class TestFontConfiguration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data()
    {
        TestTable::columns<QString, bool>("body", "made");
        QTest::addRow("%s", "a font folder and a cache folder") << "<dir>%1/fonts</dir><cachedir>%1/cache</cachedir>" << true;
        QTest::addRow("%s", "no cache folder") << "<dir>%1/fonts</dir>" << false;
        QTest::addRow("%s", "not a configuration") << "<dir>%1/fonts" << false;
        QTest::addRow("%s", "no file") << QString() << false;
    }
    void load()
    {
        auto [body, made] = TestTable::fetch<QString, bool>("body", "made");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("fonts")));
        const QString path = dir.filePath(QStringLiteral("fonts.conf"));
        if (!body.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<?xml version=\"1.0\"?>\n<fontconfig>" + body.arg(dir.path()).toUtf8() + "</fontconfig>\n");
        }
        // Put back afterwards, with the process's own configuration.
        const QByteArray oldFile = qgetenv("FONTCONFIG_FILE");
        const bool hadFile = qEnvironmentVariableIsSet("FONTCONFIG_FILE");
        FcConfig *before = FcConfigReference(nullptr);
        qputenv("FONTCONFIG_FILE", QFile::encodeName(path));
        const bool loaded = FontConfiguration::load();
        FcConfig *now = FcConfigGetCurrent();
        const QStringList dirs = fontDirs(now);
        FcConfigSetCurrent(before);
        FcConfigDestroy(before);
        hadFile ? qputenv("FONTCONFIG_FILE", oldFile) : qunsetenv("FONTCONFIG_FILE");

        QCOMPARE(loaded, made);
        QCOMPARE(now != before, made);
        if (made)
            QCOMPARE(dirs, QStringList{dir.filePath(QStringLiteral("fonts"))});
    }
};

QTEST_GUILESS_MAIN(TestFontConfiguration)
#include "test_fontconfiguration.moc"
