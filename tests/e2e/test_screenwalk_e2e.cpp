// Keys that arrive and the screen walk: knitpanel against knitsim under a private Xvfb without
// a window manager (as the demo's and the tests'), driven by xdotool. First the keys an
// operator meets at once, then every screen opened by the operator's keys (top keys, their
// menus and tabs), in menu order, in reverse and in a seeded random order, with the layout
// audit on. Faults caught: a focused button on the main screen that takes the first arrow key
// to move the focus (Up after start-up sends no rollers command); a window that does not get
// the keyboard back when a window over it closes (the focus stays on the root window: Escape on
// a raised alarm is lost, the walk stalls); a screen that does not open from its key; a text
// cut by its label or button, a widget off the 640 x 480 screen.
#include "panelfixture.h"
#include "testbytes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <random>

namespace {

const QString kPassword = QStringLiteral("7063");

// One screen: the keys from the main screen as PanelFixture::walk takes them, each window
// they bring up named.
struct Route
{
    const char *name;
    QStringList keys;
};

QList<Route> routes()
{
    return {
        {"work parameters", {"1>JobParamsDialog", "b", "c", "d", "e", "f"}},
        {"frequent parameters", {"2>FrequentSettingsFrame"}},
        {"file manager", {"3>DiskFileManager"}},
        {"other parameters", {"4>YarnFeederDialog"}},
        {"test menu", {"6>ControllerTestMenu"}},
        {"system parameters", {"7>SystemToolsMenu", "2>TextInputDialog", kPassword, "Return>SystemParamFrame"}},
        {"running parameters", {"7>SystemToolsMenu", "1>RunningParamFrame"}},
        {"acceleration", {"7>SystemToolsMenu", "h>TextInputDialog", kPassword, "Return>SystemToolsMenu", "1>CarriageAccelerationFrame"}},
        {"personalisation", {"7>SystemToolsMenu", "h>TextInputDialog", kPassword, "Return>SystemToolsMenu", "2>PersonalisationFrame"}},
        // Refused with a message: the machine has not found its zero yet.
        {"skip rows", {"0>MessageDialog"}},
        {"language, both", {"8>LanguageMenu", "2", "1"}},
    };
}

// The Escapes back to the main screen from where the route's keys end, each with the window it
// brings back: the route's windows in reverse, those that closed on the way left out (a
// password's question, answered by the key that brought up the next window).
QStringList escapes(const Route &route)
{
    QStringList open{QLatin1String(PanelFixture::kMain)};
    for (const QString &key : route.keys) {
        const QString window = key.section(QLatin1Char('>'), 1);
        if (window.isEmpty())
            continue;
        if (open.last() == QLatin1String("TextInputDialog"))
            open.removeLast();
        const qsizetype below = open.indexOf(window);
        if (below >= 0)
            open.resize(below);
        open.append(window);
    }
    QStringList back;
    for (qsizetype i = open.size() - 2; i >= 0; --i)
        back << QStringLiteral("Escape>") + open.at(i);
    return back;
}

} // namespace

class TestScreenWalkE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("W1"), 40, 100, 50}}, &why));
        audit_ = f_.file(QStringLiteral("/layout-audit.txt"));
        QProcessEnvironment env;
        env.insert(QStringLiteral("KNIT_LAYOUT_AUDIT"), audit_);
        QVERIFY(f_.startPanel(env));
        QVERIFY2(f_.waitForMainScreen(), "the main screen never took the keyboard");
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
    }
    void cleanupTestCase()
    {
        f_.stop();
        if (clock_.isValid())
            qInfo("screen walk: %d screens in %.1f s", visited_, double(clock_.elapsed()) / 1000.0);
    }

    // The very first key after start-up: Up turns the rollers forward (action 17).
    void firstUp()
    {
        QVERIFY(f_.x().key(QStringLiteral("Up")));
        QVERIFY2(f_.sim().waitFor(QStringLiteral("cmd 2a/1/11"), 5000), "the first Up sent no rollers command");
    }

    // Key 1's page opens over the main screen and Escape closes it; the main screen has the
    // keyboard again, so Escape on an alarm acknowledges it (command 38, sub-code 33).
    void escapeAfterDialog()
    {
        QVERIFY2(f_.walk({"1>JobParamsDialog", "Escape>MainScreen"}), "the keyboard did not come back to the main screen");
        QVERIFY(f_.sim().command(QStringLiteral("alarm 2 23")));
        QVERIFY(QTest::qWaitFor([&] { return alarmLog().contains("\traised\t2\t23\t"); }, 10000));
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
        QVERIFY2(f_.sim().waitFor(QStringLiteral("cmd 26/21/0"), 5000), "Escape on the alarm sent no acknowledgement");
        QVERIFY(QTest::qWaitFor([&] { return alarmLog().contains("\tacknowledged\t2\t23\t"); }, 5000));
        QVERIFY(f_.sim().command(QStringLiteral("alarm clear")));
    }

    void walk_data()
    {
        QTest::addColumn<QList<int>>("order");
        QList<int> forward;
        for (int i = 0; i < routes().size(); ++i)
            forward.append(i);
        QList<int> reverse(forward.rbegin(), forward.rend());
        QList<int> shuffled = forward;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
        QTest::addRow("menu order") << forward;
        QTest::addRow("reverse") << reverse;
        QTest::addRow("random, seed 7") << shuffled;
    }
    void walk()
    {
        QFETCH(QList<int>, order);
        if (!clock_.isValid())
            clock_.start();
        QElapsedTimer orderClock;
        orderClock.start();
        const QList<Route> all = routes();
        for (int i : order) {
            const Route &r = all.at(i);
            QVERIFY2(f_.walk(r.keys + escapes(r)), r.name);
            ++visited_;
        }
        // For bench/screenwalk.
        qInfo("walk %s: %lld screens in %.1f s", QTest::currentDataTag(), qlonglong(order.size()),
              double(orderClock.elapsed()) / 1000.0);
    }

    // Whatever the three walks showed: no finding.
    void audit()
    {
        QFile file(audit_);
        const QStringList found = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                                                 : QStringList();
        qInfo("layout findings: %lld", qlonglong(found.size()));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

private:
    QByteArray alarmLog() const { return TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/log/alarms.log"))); }

    PanelFixture f_;
    QString audit_;
    QElapsedTimer clock_;
    int visited_ = 0;
};

QTEST_GUILESS_MAIN(TestScreenWalkE2e)
#include "test_screenwalk_e2e.moc"
