// The language switch in the real knitpanel under a private X server, by keys: quick function 8
// opens the language menu, "2" turns the panel English at once with the menu still open,
// Escape leaves it, and a restart comes up in English. Faults caught: a choice not saved or
// saved anywhere but panel.ini (any other file of the data root changed), a menu that closes or
// stays Chinese after the choice, a main screen that keeps its old language until a restart,
// a restart that forgets the choice. Leaves the operator guide's picture of the menu.
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QTest>

#include <functional>

namespace {

// The start picture's state line ("停机" / "Stopped") on the main screen.
const QRect kStateLine(QPoint(20, 248), QPoint(620, 296));
// The language menu's help line (translated).
const QRect kHelpLine(QPoint(0, 28), QPoint(539, 44));

// The state line drawn as the controller reported it: "stopped" is written in the light text
// colour, a state not yet known in grey.
bool stopped(const QImage &image)
{
    return countPixels(image, kStateLine, [](const QColor &c) { return c.rgb() == qRgb(232, 232, 232); }) > 30;
}

} // namespace

class TestLanguageE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("L1"), 100, 100, 100}}, &why));
    }

    void switchAndRestart()
    {
        const QImage chinese = startPanel("language-main-zh", stopped);
        const QStringList before = dataFiles();

        QVERIFY(f_.walk({"8>LanguageMenu"}, "language-menu-zh"));
        const QByteArray menu = f_.x().focusWindow();
        const QImage chineseMenu(XServer::picture("language-menu-zh"));
        QVERIFY(f_.x().key(QStringLiteral("2")));
        // The choice saved, then the menu in English at once, still open.
        QVERIFY(f_.waitForFile(panelIni(), "[panel]\nlanguage=en\n"));
        const QImage englishMenu = f_.x().pictureWhen("language-menu", [&](const QImage &i) {
            return i.copy(kHelpLine) != chineseMenu.copy(kHelpLine);
        });
        QCOMPARE(f_.x().focusWindow(), menu);
        // The main screen, drawn again under the menu: its state line in English, neither the
        // Chinese one nor what the menu left there.
        QVERIFY(f_.walk({"Escape>MainScreen"}));
        const QImage english = f_.x().pictureWhen("language-main-en", [&](const QImage &i) {
            return stopped(i) && i.copy(kStateLine) != chinese.copy(kStateLine) && i.copy(kStateLine) != englishMenu.copy(kStateLine);
        });
        QCOMPARE(dataFiles(), before);

        f_.panel().stop();
        startPanel("language-restart", [&](const QImage &i) { return i.copy(kStateLine) == english.copy(kStateLine); });
    }

    void cleanupTestCase() { f_.stop(); }

private:
    QString panelIni() const { return f_.file(QStringLiteral("/mnt/ide/knit/panel.ini")); }
    // Every file of the data root but panel.ini, with its bytes.
    QStringList dataFiles() const
    {
        QStringList files = TestBytes::listTree(f_.file(QStringLiteral("/mnt/ide/knit")));
        files.removeIf([](const QString &f) { return f.startsWith(QLatin1String("panel.ini=")); });
        return files;
    }
    // Starts the panel and waits for its main screen after start-up.
    QImage startPanel(const char *name, const std::function<bool(const QImage &)> &done)
    {
        [&] { QVERIFY(f_.startPanel() && f_.waitForMainScreen()); }();
        return f_.x().pictureWhen(name, done);
    }
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestLanguageE2e)
#include "test_language_e2e.moc"
