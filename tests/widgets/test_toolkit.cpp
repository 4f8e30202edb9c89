// The operator toolkit's small widgets and dialogs, driven by keypad keys and clicks, their
// beeps (read back from a plain file standing for the buzzer device), and the file-transfer
// dialog. Faults caught: a beep left on or shorter than its length, a missing device that
// still costs time, a widget silent on a key it handles, a doubled beep from two connected
// signals or a beep on a key it ignores; a page that does not close on Escape, menu focus that
// leaves the grid or scans the wrong column, a choice reported twice or with another text
// (an invalid dark colour is the Config.ini reader's to refuse, and its test's), input dialogs
// that take Cancel as input or lose the limit, the echo or the preselection, and a transfer
// dialog that stays open, and palettes left in the dark colour before. (What a keypad key
// types is the key panels' test.)
#include "modaldriver.h"
#include "ownclock.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "platform/atomicfile.h"
#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/buzzer.h"
#include "ui/celledit.h"
#include "ui/hexcombobox.h"
#include "ui/keypadlistbox.h"
#include "ui/labeltftp.h"
#include "ui/layoutaudit.h"
#include "ui/listmenu.h"
#include "ui/markablelistmenu.h"
#include "ui/operatordialogs.h"
#include "ui/panelkeybutton.h"
#include "ui/panelpalettes.h"
#include "ui/panelstyle.h"
#include "ui/paramkeys.h"
#include "ui/screenframe.h"
#include "ui/skinbutton.h"
#include "ui/touchlabel.h"
#include "ui/transferdialog.h"
#include "workparams/singlepiececarrierpage.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmapCache>
#include <QProgressBar>
#include <QSignalSpy>

#include <memory>
#include <netinet/in.h>

using Act = std::function<void()>;
using Ask = std::function<QString()>;
Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Ask)

namespace {

qint64 g_mark = -1;

// Beeps of the set-up do not count: each case marks the device once its widget is ready.
void key(QWidget *w, Qt::Key k)
{
    g_mark = QFileInfo(PanelPaths::buzzerDevice()).size();
    QTest::keyClick(w, k);
}

QPoint focusedCell(const MenuGrid &menu)
{
    for (int c = 0; c < MenuGrid::kColumns; ++c)
        for (int r = 0; r < MenuGrid::kRows; ++r)
            if (menu.item(c, r)->hasFocus())
                return QPoint(c, r);
    return QPoint(-1, -1);
}

// As start-up makes it from Config.ini's colour fields.
void setDark(int r, int g, int b)
{
    PanelPalettes::apply(PanelPalettes::darkOf({r, g, b, 0, 0, 0}));
}

const QString kPrompt = QStringLiteral("请输入文件名");

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        buzzer_ = new BuzzerDevice(qApp); // where the panel's beeps find it
        PortOffset::useFree();
        qputenv("KNIT_TIMEOUT_SCALE", "0.02");
    }
    void init()
    {
        setDark(85, 0, 255);
        buzzer_->close();
        qputenv("KNIT_BUZZER", "on"); // silent all the same until a test makes the device
    }

    // The palettes follow the dark colour in use: a set kept for the colour before (init()
    // builds one) would paint every dark label and button in the old colour.
    void palettesFollowDarkColour_data()
    {
        QTest::addColumn<QColor>("dark");
        QTest::addRow("the same colour") << QColor(85, 0, 255);
        QTest::addRow("another colour") << QColor(0, 128, 64);
    }
    void palettesFollowDarkColour()
    {
        QFETCH(QColor, dark);
        QVERIFY(PanelPalettes().labelDark().color(QPalette::Window).isValid()); // built for init()'s
        PanelPalettes::apply(dark);
        QCOMPARE(QApplication::palette().color(QPalette::WindowText), dark);
        QCOMPARE(PanelPalettes().labelDark().color(QPalette::Window), dark);
        QCOMPARE(PanelPalettes().buttonDark().color(QPalette::Window), dark);
    }

    void buzzerDevice()
    {
        TestRoot root;
        QElapsedTimer clock;
        clock.start();
        const OwnClock own;
        QVERIFY(!buzzer_->open());
        buzzer(20); // no device: silent and instant
        QVERIFY(own.elapsedMs() < 5);
        QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        QVERIFY(buzzer_->open());
        buzzer(35);
        QVERIFY(clock.elapsed() >= 35);
        buzzer_->close();
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()), QByteArray::fromHex("01000000"));
    }

    void beeps_data()
    {
        TestTable::columns<Act, int>("act", "beeps");
        QTest::addRow("button click") << Act([] { BeepingButton b(QStringLiteral("OK")); key(&b, Qt::Key_Space); }) << 1;
        QTest::addRow("hex combo key A") << Act([] { HexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_A); }) << 1;
        // The single-piece carrier replacement beeps for Escape in a cell, then closes as usual.
        QTest::addRow("carrier replacement Escape") << Act([] { MachineData m; SinglePieceCarrierPage d(m); key(d.findChild<CellEdit *>(), Qt::Key_Escape); }) << 1;
        QTest::addRow("hex combo key G") << Act([] { HexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_G); }) << 0;
        // The list box beeps for the key and for the row change it makes.
        QTest::addRow("list box direct key") << Act([] { KeypadListBox l; l.addItems({"a", "b", "c"}); l.setCurrentRow(0); key(&l, Qt::Key_3); }) << 2;
        // The panel's button beeps; its group must not beep again.
        QTest::addRow("key panel touch") << Act([] {
            ParamKeys p;
            p.showKeysForCell(1);
            g_mark = QFileInfo(PanelPaths::buzzerDevice()).size();
            QTest::mouseClick(p.button(0), Qt::LeftButton);
        }) << 1;
    }
    void beeps()
    {
        auto [act, beeps] = TestTable::fetch<Act, int>("act", "beeps");
        TestRoot root;
        QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        QVERIFY(buzzer_->open());
        g_mark = -1;
        act();
        QVERIFY(g_mark >= 0);
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()).mid(g_mark), QByteArray::fromHex("01000000").repeated(beeps));
        buzzer_->close();
    }

    // The page frame: Backspace reaches the page as a clear, Escape closes and tells the owner.
    void frameKeys()
    {
        ScreenFrame dialog;
        QVERIFY(shownActive(&dialog));
        QSignalSpy close(&dialog, &ScreenFrame::closeRequested);
        QSignalSpy clear(&dialog, &ScreenFrame::clearRequested);
        QTest::keyClick(&dialog, Qt::Key_Backspace);
        QTRY_COMPARE(clear.count(), 1); // a button's key clicks it after its short press animation
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(close.count(), 1);
    }

    // The focus starts top left, moves within its column and row, and stops at the edges; the
    // chosen item's text comes once per click and once per keypad Enter.
    void menus()
    {
        for (bool no : {false, true}) { // both menu kinds
            std::unique_ptr<MenuGrid> menu(no ? static_cast<MenuGrid *>(new MarkableListMenu) : new ListMenu);
            (void)shownActive(menu.get()); // a menu that is not active fails on its focus
            QCOMPARE(focusedCell(*menu), QPoint(0, 0));
            menu->item(1, 6)->setFocus();
            for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Left})
                QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(focusedCell(*menu), QPoint(0, 7));
            menu->setItem(1, 0, QStringLiteral("F1.罗拉正转"));
            QSignalSpy spy(menu.get(), &MenuGrid::itemChosen);
            QTest::mouseClick(menu->item(1, 0), Qt::LeftButton);
            menu->item(1, 0)->setFocus();
            QTest::keyClick(menu->item(1, 0), Qt::Key_Enter);
            QCOMPARE(spy.count(), 2);
            QCOMPARE(spy.at(1), (QVariantList{1, 0}));
        }
    }

    // A picture key on and off differ at a glance: their faces far apart in brightness, not a
    // shade of the same colour.
    void pictureKeyLook()
    {
        SkinButton key(QStringLiteral("速度"));
        key.resize(48, 48);
        auto brightness = [&](bool lit) {
            key.setActive(lit);
            const QImage face = key.grab().toImage();
            qint64 sum = 0;
            for (int y = 4; y < 44; ++y)
                for (int x = 4; x < 44; ++x)
                    sum += qGray(face.pixel(x, y));
            return sum / (40 * 40);
        };
        QVERIFY2(brightness(true) - brightness(false) > 80, "picture keys on and off look alike");
    }

    // A disabled box (piece expansion's above the count) looks disabled although the panel's
    // palettes give every colour group the same colours.
    void disabledLook()
    {
        PanelStyle style;
        auto look = [&](bool enabled) {
            QCheckBox box(QStringLiteral("使能1"));
            box.setStyle(&style);
            box.setPalette(PanelPalettes().labelWhite());
            box.setChecked(true);
            box.setEnabled(enabled);
            box.resize(100, 30);
            return box.grab().toImage();
        };
        QVERIFY2(look(true) != look(false), "a disabled box is drawn as an enabled one");
    }

    // A button drawn again finds its face in the style's cache, whether it is disabled (its look
    // dimmed on each paint) or gets its palette set on each focus change: a face cached anew on
    // each paint pushed the rest out, and the cache keeps the name of each face it drops.
    void facesCachedOnce_data()
    {
        QTest::addColumn<bool>("focusChanges");
        QTest::addRow("disabled") << false;
        QTest::addRow("focus changes") << true;
    }
    void facesCachedOnce()
    {
        QFETCH(bool, focusChanges);
        PanelStyle style;
        QPushButton button(QStringLiteral("确认"));
        button.setStyle(&style);
        button.setPalette(PanelPalettes().labelWhite());
        button.setEnabled(focusChanges);
        button.resize(100, 40);
        const int limit = QPixmapCache::cacheLimit();
        QPixmapCache::clear();
        QPixmapCache::setCacheLimit(64); // KiB: four faces of this button
        QPixmap mark(8, 8);
        const QPixmapCache::Key key = QPixmapCache::insert(mark);
        for (int i = 0; i < 20; ++i) {
            if (focusChanges)
                button.setPalette(i % 2 ? PanelPalettes().labelDark() : PanelPalettes().labelWhite());
            (void)button.grab();
        }
        const bool kept = QPixmapCache::find(key, &mark);
        QPixmapCache::setCacheLimit(limit);
        QVERIFY2(kept, "each paint cached the button's face anew");
    }

    // The layout audit names a text that does not fit, a widget off the 640 x 480 screen and
    // a neighbour over it; dot fillers, texts that fit, an empty widget and a neighbour on the
    // shared edge line are no finding.
    void layoutAudit_data()
    {
        TestTable::columns<QString, QRect, QRect, QString>("text", "geometry", "neighbour", "finding");
        const QRect none;
        QTest::addRow("fits") << "速度" << QRect(10, 10, 80, 24) << none << QString();
        QTest::addRow("cut") << "展开片数展开片数" << QRect(10, 10, 40, 24) << none << "cut w/probe: \"展开片数展开片数\"";
        QTest::addRow("second line cut") << "1\n展开片数展开片数" << QRect(10, 10, 40, 40) << none << "cut w/probe";
        QTest::addRow("too low") << "展开" << QRect(10, 10, 80, 4) << none << "cut w/probe";
        QTest::addRow("dots fill") << "速度................................" << QRect(10, 10, 60, 24) << none << QString();
        QTest::addRow("outside") << "1" << QRect(620, 10, 40, 24) << none << "outside w/probe: 620,10 40x24";
        QTest::addRow("empty") << QString() << QRect(630, 10, 0, 0) << none << QString();
        QTest::addRow("overlap") << "1" << QRect(10, 10, 80, 24) << QRect(80, 10, 80, 24) << "overlap w/probe and w/QLabel";
        QTest::addRow("shared edge") << "1" << QRect(10, 10, 80, 24) << QRect(89, 10, 80, 24) << QString();
    }
    void layoutAudit()
    {
        auto [text, geometry, neighbour, finding] = TestTable::fetch<QString, QRect, QRect, QString>("text", "geometry", "neighbour", "finding");
        QWidget w;
        w.setObjectName(QStringLiteral("w"));
        w.setGeometry(0, 0, 640, 480);
        auto *label = new QLabel(text, &w);
        label->setObjectName(QStringLiteral("probe"));
        label->setGeometry(geometry);
        if (!neighbour.isNull())
            (new QLabel(&w))->setGeometry(neighbour);
        w.show();
        const QStringList found = LayoutAudit::findings(&w) + LayoutAudit::overlaps(&w);
        if (finding.isEmpty())
            QCOMPARE(found, QStringList());
        else
            QVERIFY2(found.size() == 1 && found.first().startsWith(finding), qPrintable(found.join(QLatin1Char('|'))));
    }

    // TouchLabel reports a left-button touch only while clickable (the screen lock relies on it).
    void label()
    {
        TouchLabel label(QStringLiteral("报警"));
        QSignalSpy spy(&label, &TouchLabel::released);
        label.setClickable(false);
        QTest::mouseClick(&label, Qt::LeftButton);
        label.setClickable(true);
        QTest::mouseClick(&label, Qt::RightButton);
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }

    // The input, yes/no and message dialogs' result per answer: null only when cancelled, the
    // text cut to its limit, the password hidden, the preselection kept, Return taking OK.
    void dialogs_data()
    {
        // answer: "@ok", "@cancel", "@escape", "@return" or text typed then Return
        TestTable::columns<Ask, QString, QString>("ask", "answer", "result");
        const Ask text = [] { return askText(nullptr, QStringLiteral("caption"), kPrompt, 8); };
        const Ask yesNo = [] { return QString::number(askYesNo(nullptr, kPrompt)); };
        QTest::addRow("text typed") << text << QStringLiteral("abc12") << QStringLiteral("abc12");
        QTest::addRow("text too long is cut") << text << QStringLiteral("123456789") << QStringLiteral("12345678");
        QTest::addRow("text empty ok") << text << QStringLiteral("@ok") << QStringLiteral("");
        QTest::addRow("text escape") << text << QStringLiteral("@escape") << QString();
        QTest::addRow("password typed") << Ask([] { return askPassword(nullptr, QStringLiteral("caption"), kPrompt, 8); })
                                        << QStringLiteral("6666") << QStringLiteral("6666");
        QTest::addRow("select kept") << Ask([] { return askTextSelected(nullptr, QStringLiteral("caption"), kPrompt, 8, QStringLiteral("JOB1")); })
                                     << QStringLiteral("@ok") << QStringLiteral("JOB1");
        QTest::addRow("yes/no ok") << yesNo << QStringLiteral("@ok") << QStringLiteral("1");
        QTest::addRow("yes/no cancel") << yesNo << QStringLiteral("@cancel") << QStringLiteral("0");
        QTest::addRow("yes/no return takes ok") << yesNo << QStringLiteral("@return") << QStringLiteral("1");
        QTest::addRow("message ok") << Ask([] { showMessage(nullptr, kPrompt); return QStringLiteral("shown"); })
                                    << QStringLiteral("@ok") << QStringLiteral("shown");
    }
    void dialogs()
    {
        auto [ask, answer, result] = TestTable::fetch<Ask, QString, QString>("ask", "answer", "result");
        ModalDriver driver;
        bool hidden = false;
        driver.inspect([&hidden](QWidget *w) {
            auto *edit = w->findChild<QLineEdit *>();
            hidden = edit && edit->echoMode() == QLineEdit::Password;
        });
        if (answer == QLatin1String("@ok"))
            driver.pressOk();
        else if (answer == QLatin1String("@cancel"))
            driver.pressCancel();
        else if (answer.startsWith(QLatin1Char('@')))
            driver.key(answer == QLatin1String("@escape") ? Qt::Key_Escape : Qt::Key_Return);
        else
            driver.typeAndReturn(answer);
        const QString got = ask();
        QCOMPARE(driver.texts, QStringList{kPrompt});
        QCOMPARE(driver.unexpected, 0);
        QCOMPARE(hidden, QByteArray(QTest::currentDataTag()).startsWith("password"));
        QCOMPARE(got.isNull(), result.isNull());
        QCOMPARE(got, result);
    }

    // The file-transfer dialog against knitsim: the status text of a download, the progress of
    // an upload (an empty one too), the file whole and the dialog closed (fault: a dialog left
    // open after the transfer). A refused transfer told as failed is the file manager's: F3's
    // upload and its fetch of the running state go through this dialog.
    void transfers_data()
    {
        // shown: upload: the bar's last value; download: the label's last text
        TestTable::columns<int, int, QString>("mode", "size", "shown");
        QTest::addRow("empty upload") << 1 << 0 << "100";
        QTest::addRow("600 byte upload") << 1 << 600 << "100";
        QTest::addRow("1000 byte download") << 2 << 1000 << QStringLiteral("正在下载: 1000 B");
    }
    void transfers()
    {
        auto [mode, size, shown] = TestTable::fetch<int, int, QString>("mode", "size", "shown");
        TestRoot root;
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.error()));
        const QByteArray body(size, 'k');
        QVERIFY(mode == 1 || TestBytes::writeFile(sim.file(QStringLiteral("job.wrk")), body));
        const QString path = PanelPaths::tmp("/job.wrk");
        if (mode == 1)
            QVERIFY(AtomicFile::save(path, body));
        TransferDialog dialog(path, INADDR_LOOPBACK, mode);
        QVERIFY(dialog.run() == QDialog::Accepted);
        QCOMPARE(dialog.isVisible(), false);
        QCOMPARE(mode == 1 ? QString::number(dialog.labelTftp()->progressBar()->value()) : dialog.labelTftp()->text(), shown);
        QCOMPARE(TestBytes::readFile(mode == 1 ? sim.file(QStringLiteral("job.wrk")) : path), body);
    }

    // A local file that cannot be used ends the transfer before the dialog runs; the static
    // helpers must return false at once rather than wait in a dialog nobody closes.
    void unusableLocalFileEndsAtOnce()
    {
        TestRoot root;
        QVERIFY(!TransferDialog::putFile(PanelPaths::tmp("/missing.cnt"), INADDR_LOOPBACK));
        QVERIFY(!TransferDialog::getFile(PanelPaths::tmp("/no/dir/file.cnt"), INADDR_LOOPBACK));
    }

private:
    BuzzerDevice *buzzer_ = nullptr;
};

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
