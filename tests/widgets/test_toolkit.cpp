// The operator toolkit's small widgets and dialogs, driven by keypad keys and clicks, and the
// file-transfer dialog. Faults caught: a page that does not close on Escape, menu focus that
// leaves the grid or scans the wrong column, a choice reported twice or with another text, the
// configured dark colour lost or invalid, keypad keys that select the wrong row or send the
// wrong character, input dialogs that take Cancel as input or lose the limit, the echo or the
// preselection, and a transfer dialog that reports a failed transfer as done or stays open.
#include "../link/test_tftpscripted.h"
#include "modaldriver.h"
#include "portoffset.h"
#include "testroot.h"

#include "data/parablocks.h"
#include "ui/listbuttonno.h"
#include "ui/multibutton.h"
#include "ui/mydialog.h"
#include "ui/myentercheckbox.h"
#include "ui/mylabel.h"
#include "ui/mylistbox.h"
#include "ui/mymenu.h"
#include "ui/mymenuno.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "ui/fileoperate.h"
#include "ui/labeltftp.h"
#include "ui/operatordialogs.h"
#include "ui/palettes.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

// Notes every key event its target receives as "press 77 'M'".
class KeyRecorder : public QObject
{
public:
    QStringList events;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        auto *k = static_cast<QKeyEvent *>(e);
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
            events << QStringLiteral("%1 %2 '%3'").arg(e->type() == QEvent::KeyPress ? "press" : "release").arg(k->key()).arg(k->text());
        return false;
    }
};

// Both menu kinds, shown and active; the tests run each case on both.
std::unique_ptr<MenuGrid> shownMenu(bool no)
{
    std::unique_ptr<MenuGrid> menu;
    if (no)
        menu = std::make_unique<MyMenuNo>();
    else
        menu = std::make_unique<MyMenu>();
    menu->show();
    menu->activateWindow();
    (void)QTest::qWaitForWindowActive(menu.get()); // a menu that is not active fails on its focus
    return menu;
}

QPoint focusedCell(const MenuGrid &menu)
{
    for (int c = 0; c < MenuGrid::kColumns; ++c)
        for (int r = 0; r < MenuGrid::kRows; ++r)
            if (menu.item(c, r)->hasFocus())
                return QPoint(c, r);
    return QPoint(-1, -1);
}

void setDark(int r, int g, int b)
{
    ctro_config[0] = r;
    ctro_config[1] = g;
    ctro_config[2] = b;
    init_system_color();
}

enum Fn { Text, Password, Select };

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_TIMEOUT_SCALE", "0.02");
    }
    void init() { setDark(85, 0, 255); }

    // The page frame: Backspace reaches the page as a clear, Escape closes and tells the owner.
    void frameKeys()
    {
        MyDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy close(&dialog, &MyDialog::signal_close);
        QSignalSpy clear(&dialog, &MyDialog::signal_clear);
        QTest::keyClick(&dialog, Qt::Key_Backspace);
        QTest::qWait(200); // a button's key clicks it after its short press animation
        QCOMPARE(clear.count(), 1);
        QVERIFY(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(close.count(), 1);
    }

    void menuFocus_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QPoint>("end");
        using L = QList<int>;
        QTest::addRow("built focus") << QPoint(-1, -1) << L{} << QPoint(0, 0);
        QTest::addRow("up on row 0 stays") << QPoint(0, 0) << L{Qt::Key_Up} << QPoint(0, 0);
        QTest::addRow("up in right column") << QPoint(1, 3) << L{Qt::Key_Up} << QPoint(1, 2);
        QTest::addRow("to the corner and past it")
            << QPoint(0, 6) << L{Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down} << QPoint(1, 7);
    }
    void menuFocus()
    {
        QFETCH(QPoint, start);
        QFETCH(QList<int>, keys);
        QFETCH(QPoint, end);
        for (bool no : {false, true}) {
            auto menu = shownMenu(no);
            if (start.x() >= 0)
                menu->item(start.x(), start.y())->setFocus();
            for (int key : keys)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            QCOMPARE(focusedCell(*menu), end);
        }
    }

    // The chosen item's text, once, by click and by Enter; a never-set item reports empty.
    void menuChoice_data()
    {
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<int>("key"); // 0: a click
        QTest::addColumn<QString>("text");
        QTest::addRow("click left") << QPoint(0, 1) << 0 << QStringLiteral("2.系统参数");
        QTest::addRow("keypad enter right") << QPoint(1, 0) << int(Qt::Key_Enter) << QStringLiteral("F1.罗拉正转");
    }
    void menuChoice()
    {
        QFETCH(QPoint, cell);
        QFETCH(int, key);
        QFETCH(QString, text);
        for (bool no : {false, true}) {
            auto menu = shownMenu(no);
            menu->setItem(0, 1, QStringLiteral("2.系统参数"));
            menu->setItem(1, 0, QStringLiteral("F1.罗拉正转"));
            QSignalSpy spy(menu.get(), &MenuGrid::signal_itemname);
            QPushButton *b = menu->item(cell.x(), cell.y());
            if (key) {
                b->setFocus();
                QTest::keyClick(b, Qt::Key(key));
            } else {
                QTest::mouseClick(b, Qt::LeftButton);
            }
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toString(), text);
        }
    }

    // The configured dark colour, an out-of-range field clamped, marks the focused menu item;
    // focus leaving gives the old colour back; an active ListButtonNo keeps the button-text one.
    void darkColour()
    {
        setDark(-5, 300, 7);
        QCOMPARE(palette_label_dark.color(QPalette::Window), QColor(0, 255, 7));
        setDark(10, 20, 30);
        const QColor dark(10, 20, 30);
        auto menu = shownMenu(false);
        QCOMPARE(menu->item(0, 0)->palette().color(QPalette::Button), dark);
        const QColor before = menu->item(0, 1)->palette().color(QPalette::Button);
        QTest::keyClick(menu->item(0, 0), Qt::Key_Down);
        QCOMPARE(menu->item(0, 1)->palette().color(QPalette::Button), dark);
        QCOMPARE(menu->item(0, 0)->palette().color(QPalette::Button), before);
        auto menuNo = shownMenu(true);
        auto *no = static_cast<MyMenuNo *>(menuNo.get());
        QCOMPARE(no->item(0, 0)->palette().color(QPalette::Button), dark);
        no->itemNo(0, 0)->setactive(1);
        QCOMPARE(no->item(0, 0)->palette().color(QPalette::Button), palette_button_text.color(QPalette::Button));
    }

    // Direct selection in MyListBox: keys 1-9, 0, A-F pick rows 0-15; others and rows past a
    // short list keep the selection.
    void listBoxKeys_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addRow("F sixteenth") << 16 << 0 << int(Qt::Key_F) << 15;
        QTest::addRow("5 past a short list keeps") << 3 << 1 << int(Qt::Key_5) << 1;
    }
    void listBoxKeys()
    {
        QFETCH(int, items);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, row);
        MyListBox list;
        for (int i = 0; i < items; ++i)
            list.addItem(QStringLiteral("item %1").arg(i));
        list.setCurrentRow(start);
        QTest::keyClick(&list, Qt::Key(key), Qt::NoModifier);
        QCOMPARE(list.currentRow(), row);
        QVERIFY(list.currentItem() && list.currentItem()->isSelected());
    }

    // Enter on myentercheckbox turns the middle state off, with one signal.
    void enterCheckBox()
    {
        myentercheckbox box;
        box.setTristate(true);
        box.setCheckState(Qt::PartiallyChecked);
        QSignalSpy spy(&box, &myentercheckbox::signal_enter);
        QTest::keyClick(&box, Qt::Key_Enter);
        QCOMPARE(box.checkState(), Qt::Unchecked);
        QCOMPARE(spy.count(), 1);
    }

    // The keys multibutton injects into the focused field, which keeps the focus: press and
    // release with the key's character, or nothing for a key it does not send.
    void injection_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text"); // "-": nothing sent
        QTest::addRow("M with its character") << 77 << "M";
        QTest::addRow("A nothing") << int(Qt::Key_A) << "-";
    }
    void injection()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QWidget page;
        auto *layout = new QVBoxLayout(&page);
        auto *field = new QLineEdit(&page);
        auto *button = new multibutton(&page, "Bkey", key);
        layout->addWidget(field);
        layout->addWidget(button);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        field->setFocus();
        KeyRecorder recorder;
        field->installEventFilter(&recorder);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), field);
        QCoreApplication::sendPostedEvents();
        const QStringList both{QStringLiteral("press %1 '%2'").arg(key).arg(text), QStringLiteral("release %1 '%2'").arg(key).arg(text)};
        QCOMPARE(recorder.events, text == QLatin1String("-") ? QStringList() : both);
    }

    // MyLabel reports a left-button touch only while clickable (the screen lock relies on it).
    void label()
    {
        MyLabel label(QStringLiteral("报警"));
        QSignalSpy spy(&label, &MyLabel::released);
        label.setclickable(false);
        QTest::mouseClick(&label, Qt::LeftButton);
        label.setclickable(true);
        QTest::mouseClick(&label, Qt::RightButton);
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }

    // The input dialogs' result per answer; null only when cancelled.
    void input_data()
    {
        QTest::addColumn<int>("fn");
        QTest::addColumn<QString>("answer"); // "@ok", "@cancel", "@escape" or text typed then Return
        QTest::addColumn<QString>("result"); // null: the dialog was cancelled
        QTest::addRow("text typed") << int(Text) << QStringLiteral("abc12") << QStringLiteral("abc12");
        QTest::addRow("text too long is cut") << int(Text) << QStringLiteral("123456789") << QStringLiteral("12345678");
        QTest::addRow("text empty ok") << int(Text) << QStringLiteral("@ok") << QStringLiteral("");
        QTest::addRow("text escape") << int(Text) << QStringLiteral("@escape") << QString();
        QTest::addRow("password typed") << int(Password) << QStringLiteral("6666") << QStringLiteral("6666");
        QTest::addRow("select kept") << int(Select) << QStringLiteral("@ok") << QStringLiteral("JOB1");
    }
    void input()
    {
        QFETCH(int, fn);
        QFETCH(QString, answer);
        QFETCH(QString, result);
        ModalDriver driver;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        driver.inspect([&echo](QWidget *w) { echo = w->findChild<QLineEdit *>()->echoMode(); });
        if (answer == QLatin1String("@ok"))
            driver.pressOk();
        else if (answer == QLatin1String("@escape"))
            driver.escape();
        else
            driver.typeAndReturn(answer);
        const QString prompt = QStringLiteral("请输入文件名");
        const QString got = fn == Text ? DIATEXT(nullptr, QStringLiteral("caption"), prompt, 8)
                          : fn == Password ? DIAPASSWORD(nullptr, QStringLiteral("caption"), prompt, 8)
                                           : DIATEXTSELECT(nullptr, QStringLiteral("caption"), prompt, 8, QStringLiteral("JOB1"));
        QCOMPARE(driver.texts, QStringList{prompt});
        QCOMPARE(driver.unexpected, 0);
        QCOMPARE(echo, fn == Password ? QLineEdit::Password : QLineEdit::Normal);
        QCOMPARE(got.isNull(), result.isNull());
        QCOMPARE(got, result);
    }

    // A yes/no box is true only on OK or Return (its default).
    void yesNo_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("result");
        QTest::addRow("ok") << QStringLiteral("ok") << true;
        QTest::addRow("cancel") << QStringLiteral("cancel") << false;
        QTest::addRow("return takes the default ok") << QStringLiteral("return") << true;
    }
    void yesNo()
    {
        QFETCH(QString, answer);
        QFETCH(bool, result);
        ModalDriver driver;
        if (answer == QLatin1String("ok"))
            driver.pressOk();
        else if (answer == QLatin1String("cancel"))
            driver.pressCancel();
        else
            driver.key(Qt::Key_Return);
        QCOMPARE(DIAYESNO(nullptr, QStringLiteral("是否删除文件 ?")), result);
        QCOMPARE(driver.texts, QStringList{QStringLiteral("是否删除文件 ?")});
    }

    // The message box has OK alone, fits the screen, and a second message is answered in turn.
    void message()
    {
        ModalDriver driver;
        bool fits = false;
        bool noCancel = false;
        driver.inspect([&](QWidget *w) {
            fits = QRect(0, 0, 640, 480).contains(w->geometry());
            noCancel = !w->findChild<QAbstractButton *>(QStringLiteral("Button_quit"));
        });
        driver.pressOk().escape();
        DIAMESSAGE(nullptr, QStringLiteral("参数范围不正确, 请查看参数范围 !"));
        DIAMESSAGE(nullptr, QStringLiteral("文件错误 !"));
        QVERIFY(fits);
        QVERIFY(noCancel);
        QCOMPARE(driver.texts, QStringList({QStringLiteral("参数范围不正确, 请查看参数范围 !"), QStringLiteral("文件错误 !")}));
        QCOMPARE(driver.unexpected, 0);
    }

    // The file-transfer dialog against a scripted server: the status text of a download, the
    // progress of an upload (an empty one too), and its verdict (fault: a failed transfer
    // reported as success, a dialog left open after the transfer).
    void transfers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("status"); // download: the label's last text
        QTest::addColumn<int>("progress");   // upload: the bar's last value
        QTest::addColumn<bool>("accepted");
        QTest::addRow("empty upload") << 1 << 0 << false << QString() << 100 << true;
        QTest::addRow("600 byte upload") << 1 << 600 << false << QString() << 100 << true;
        QTest::addRow("refused upload") << 1 << 600 << true << QString() << 0 << false;
        QTest::addRow("1000 byte download") << 2 << 1000 << false << QStringLiteral("正在下载: 1000 B") << -1 << true;
        QTest::addRow("refused download") << 2 << 1000 << true << QStringLiteral("正在联接下载服务器, 请稍等 ......") << -1 << false;
    }

    void transfers()
    {
        QFETCH(int, mode);
        QFETCH(int, size);
        QFETCH(bool, refuse);
        QFETCH(QString, status);
        QFETCH(int, progress);
        QFETCH(bool, accepted);
        TestRoot root;
        ScriptedServer server;
        QVERIFY(server.ok());
        const QByteArray body(size, 'k');
        char error[64];
        const QByteArray refusal(error, TftpPacket::makeerror(TftpPacket::NotFound, "File not found", error, sizeof error));
        int sent = 0;
        server.onPacket = [&](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0 && refuse)
                server.send(1, refusal);
            else if (socket == 0 && v.opcode == TftpPacket::Wrq)
                server.send(1, ScriptedServer::ack(0));
            else if (v.opcode == TftpPacket::Data)
                server.send(1, ScriptedServer::ack(v.block));
            if ((socket == 0 && v.opcode == TftpPacket::Rrq && !refuse) || (v.opcode == TftpPacket::Ack && sent * 512 <= size)) {
                const QByteArray chunk = body.mid(sent * 512, 512);
                ++sent;
                server.send(1, ScriptedServer::data(sent, chunk));
            }
        };
        const QString path = PanelPaths::tmp("/job.wrk");
        if (mode == 1)
            QVERIFY(AtomicFile::save(path, body));
        fileoperate dialog(path, QHostAddress::LocalHost, mode);
        QCOMPARE(dialog.run() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), false);
        if (mode == 1)
            QCOMPARE(dialog.labelTftp()->progressBar()->value(), progress);
        else
            QCOMPARE(dialog.labelTftp()->text(), status);
        if (mode == 2 && accepted) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), body);
        }
    }

    // A local file that cannot be used ends the transfer before the dialog runs; the static
    // helpers must return false at once rather than wait in a dialog nobody closes.
    void unusableLocalFileEndsAtOnce()
    {
        TestRoot root;
        QVERIFY(!fileoperate::tftpputfile(PanelPaths::tmp("/missing.cnt"), QHostAddress::LocalHost));
        QVERIFY(!fileoperate::tftpgetfile(PanelPaths::tmp("/no/dir/file.cnt"), QHostAddress::LocalHost));
    }
};

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
