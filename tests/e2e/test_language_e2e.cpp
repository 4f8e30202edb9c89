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
// The language menu's title (never translated) and its help line (translated).
const QRect kTitle(QPoint(0, 0), QPoint(539, 27));
const QRect kHelpLine(QPoint(0, 28), QPoint(539, 44));
// The middle of the screen, where the menu's items are.
const QRect kItems(QPoint(10, 60), QPoint(630, 160));

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
        QImage last;
        // The state line drawn whole: the same in two pictures in a row.
        auto settled = [&](const QImage &i) {
            const bool same = !last.isNull() && i.copy(kStateLine) == last.copy(kStateLine);
            last = i;
            return same;
        };
        const QImage chinese = startPanel("language-main-zh", settled);
        const QStringList before = dataFiles();

        QVERIFY(f_.switchWith({QStringLiteral("8")}));
        const QImage menu = f_.x().pictureWhen("language-menu-zh", [&](const QImage &i) { return i.copy(kItems) != chinese.copy(kItems); });
        QVERIFY(f_.x().key(QStringLiteral("2")));
        // English at once, the menu still open (its title stays), the choice saved.
        f_.x().pictureWhen("language-menu", [&](const QImage &i) {
            return i.copy(kHelpLine) != menu.copy(kHelpLine) && i.copy(kTitle) == menu.copy(kTitle);
        });
        QTRY_COMPARE_WITH_TIMEOUT(TestBytes::readFile(panelIni()), QByteArray("[panel]\nlanguage=en\n"), 5000);
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
        last = QImage();
        const QImage english = f_.x().pictureWhen("language-main-en", [&](const QImage &i) {
            return settled(i) && i.copy(kItems) != menu.copy(kItems) && i.copy(kStateLine) != chinese.copy(kStateLine);
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
        [&] {
            QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
            QVERIFY(f_.startPanel() && f_.waitForMainScreen());
        }();
        return f_.x().pictureWhen(name, done);
    }
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestLanguageE2e)
#include "test_language_e2e.moc"
