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

// One screen: the keys from the main screen, "+" after a key that opens a window. Escape
// closes every window again.
struct Route
{
    const char *name;
    QStringList keys;
};

QList<Route> routes()
{
    return {
        {"work parameters", {"1+", "b", "c", "d", "e", "f"}},
        {"frequent parameters", {"2+"}},
        {"file manager", {"3+"}},
        {"other parameters", {"4+"}},
        {"test menu", {"6+"}},
        {"system parameters", {"7+", "2+", kPassword, "Return+"}},
        {"running parameters", {"7+", "1+"}},
        {"acceleration", {"7+", "h+", kPassword, "Return+", "1+"}},
        {"personalisation", {"7+", "h+", kPassword, "Return+", "2+"}},
        {"skip rows", {"0+"}},
        {"language, both", {"8+", "2", "1"}},
    };
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
        QVERIFY(f_.startPanel(QStringLiteral("1"), env));
        QVERIFY2(f_.waitForMainScreen(), "the main screen never took the keyboard");
        main_ = f_.mainWindow();
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
        QVERIFY(f_.x().key(QStringLiteral("1")));
        QVERIFY2(QTest::qWaitFor([&] { const QByteArray w = f_.x().focusWindow(); return !w.isEmpty() && w != main_; }, 10000),
                 "key 1 opened no page");
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
        QVERIFY2(QTest::qWaitFor([&] { return f_.x().focusWindow() == main_; }, 10000),
                 "the keyboard did not come back to the main screen");

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
            for (const QString &k : r.keys) {
                const bool opens = k.endsWith(QLatin1Char('+'));
                const QString key = opens ? k.chopped(1) : k;
                const QByteArray before = f_.x().focusWindow();
                for (const QString &one : key.size() > 1 && key.at(0).isDigit() ? key.split(QString(), Qt::SkipEmptyParts) : QStringList{key})
                    QVERIFY(f_.x().key(one));
                if (opens)
                    QVERIFY2(QTest::qWaitFor([&] { const QByteArray w = f_.x().focusWindow(); return !w.isEmpty() && w != before; }, 10000),
                             qPrintable(QStringLiteral("%1: key %2 opened nothing").arg(QLatin1String(r.name), key)));
            }
            // Escape until the main screen has the keyboard again.
            for (int n = 0; n < 4 && f_.x().focusWindow() != main_; ++n) {
                const QByteArray before = f_.x().focusWindow();
                QVERIFY(f_.x().key(QStringLiteral("Escape")));
                QVERIFY2(QTest::qWaitFor([&] { return f_.x().focusWindow() != before; }, 10000),
                         qPrintable(QStringLiteral("%1: Escape closed nothing").arg(QLatin1String(r.name))));
            }
            QVERIFY2(f_.x().focusWindow() == main_, r.name);
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
    QByteArray main_;
    QElapsedTimer clock_;
    int visited_ = 0;
};

QTEST_GUILESS_MAIN(TestScreenWalkE2e)
#include "test_screenwalk_e2e.moc"
