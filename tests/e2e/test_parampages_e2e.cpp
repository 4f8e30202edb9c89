// The system tools under a private X server: the real knitpanel against the real knitsim,
// worked by keys through every page of the menu (the guide's pictures), a system parameter and
// a personalisation value changed, then a second start on the same controller root. Faults
// caught: a page that does not open from its key or password, a change that does not reach the
// controller's blocks in the form the panel keeps in its check copies (the second start would
// then stop at the mismatch question and never send its closing commands), a carrier table
// not read back at start (its next save would wipe the first run's correction).
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QTest>

namespace {

// The system tools menu's items.
const QRect kItems(QPoint(10, 60), QPoint(630, 470));

} // namespace

class TestParamPagesE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("P1"), 40, 100, 40}}, &why));
        QVERIFY(f_.sim().command(QStringLiteral("set racking 50")));
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
    }

    // Each page from the menu, as an operator reaches it; a value on two of them.
    void pages()
    {
        const QString pw = QStringLiteral("7063");
        walk({"7>extsyspara"}, "menu");
        walk({"2>QIDialog", pw, "Return>mydialogsystem"}, "system");
        walk({"Right", "50", "Return"}, nullptr, QStringLiteral("cmd 22/0/a"));
        walk({"Escape>extsyspara", "1>mydialogwrk"}, "running");
        walk({"Escape>extsyspara", "3>QIDialog", pw, "Return>mydialogmdensity"}, "density");
        walk({"Escape>extsyspara", "4>mydialognoworkdensity"}, "idle-density");
        walk({"Escape>extsyspara", "5>QIDialog", pw, "Return>mydialogmbed"}, "racking");
        walk({"Down", "Return>mbed"}, "racking-correction");
        walk({"Escape>mydialogmbed", "Escape>extsyspara"}, nullptr);
        QVERIFY(f_.turnPage({"h>QIDialog", pw, "Return>extsyspara"}, kItems, "params-menu-more"));
        walk({"1>mydialog_add_type"}, "acceleration");
        walk({"Escape>extsyspara", "2>mytriangleboard"}, "personalisation");
        walk({"500", "Return", "3761", "Return"}, nullptr, QStringLiteral("cmd 22/20/0"));
        walk({"Escape>extsyspara", "a>QIDialog", pw, "Return>myspeedmouth"}, "carrier");
        walk({"-30", "Return"}, nullptr, QStringLiteral("cmd 22/10/a0"));
        walk({"Escape>extsyspara", "h", "Escape>wave", "2>constparasetting"}, "frequent");
        walk({"Escape>wave"}, nullptr);
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 0 10 50")));
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 32 0 500")));
    }

    // The second start finds the controller's blocks equal to the panel's copies: no question,
    // straight on to the job and the closing commands.
    void restartFindsCopiesEqual()
    {
        f_.panel().stop();
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
        QCOMPARE(f_.sim().traffic(true), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt", "WRQ P1.wrk", "WRQ P1.cnt",
                                       "WRQ P1.pat", "cmd 20", "cmd 26"}));
        // The carrier table kept from the first run: a change now saves it with the earlier one.
        walk({"7>extsyspara", "h>QIDialog", "7063", "Return>extsyspara", "a>QIDialog", "7063", "Return>myspeedmouth", "Down", "-20",
              "Return"}, nullptr, QStringLiteral("cmd 22/10/a2"));
        // Saved once the controller took it.
        QTRY_COMPARE_WITH_TIMEOUT(TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/para/speed.mth"))).mid(2 * 224, 6),
                                  QByteArray::fromHex("460064005000"), 10000);
    }

private:
    // PanelFixture::walk, then the picture params-NAME if named, or a datagram in knitsim's
    // journal.
    void walk(const QStringList &steps, const char *picture, const QString &sent = QString())
    {
        QVERIFY(f_.walk(steps, picture ? qPrintable(QStringLiteral("params-") + QLatin1String(picture)) : nullptr));
        QVERIFY2(sent.isEmpty() || f_.waitForJournal(sent), qPrintable(sent));
    }

    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestParamPagesE2e)
#include "test_parampages_e2e.moc"
