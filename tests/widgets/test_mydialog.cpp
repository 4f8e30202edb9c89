// The full-screen page frame: geometry and names of its parts (fault: a part moved or missing
// so pages overlap it), palettes, the Escape and Backspace keys (faults: Escape not closing,
// owners not told, Backspace not reaching the page) and the mode byte.
#include "data/parablocks.h"
#include "ui/mybutton.h"
#include "ui/mydialog.h"
#include "ui/palettes.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class TestMyDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void parts_data();
    void parts();
    void keys_data();
    void keys();
    void modeAndTexts();
};

void TestMyDialog::initTestCase()
{
    ctro_config[0] = 0;
    ctro_config[1] = 100;
    ctro_config[2] = 50;
    init_system_color();
}

void TestMyDialog::cleanupTestCase()
{
    ctro_config[0] = 85;
    ctro_config[1] = 0;
    ctro_config[2] = 255;
}

void TestMyDialog::parts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("text");
    QTest::addRow("title") << QStringLiteral("ltitle") << QRect(QPoint(0, 0), QPoint(539, 27)) << QString();
    QTest::addRow("message") << QStringLiteral("edit_msg") << QRect(QPoint(0, 28), QPoint(539, 44)) << QString();
    QTest::addRow("close") << QStringLiteral("Bclose") << QRect(QPoint(540, 0), QPoint(584, 44)) << QStringLiteral("X");
    QTest::addRow("filler") << QStringLiteral("lfiller") << QRect(QPoint(585, 0), QPoint(594, 44)) << QString();
    QTest::addRow("clear") << QStringLiteral("Bclear") << QRect(QPoint(595, 0), QPoint(639, 44)) << QStringLiteral("C");
}

void TestMyDialog::parts()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(QString, text);
    MyDialog dialog;
    dialog.show();
    QCOMPARE(dialog.geometry(), QRect(0, 0, 640, 480));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(232, 232, 232));
    auto *part = dialog.findChild<QWidget *>(name);
    QVERIFY(part);
    QCOMPARE(part->geometry(), rect);
    QCOMPARE(part->palette().color(QPalette::Window), QColor(0, 100, 50));
    QCOMPARE(part->palette().color(QPalette::WindowText), QColor(232, 232, 232));
    if (auto *b = qobject_cast<QAbstractButton *>(part))
        QCOMPARE(b->text(), text);
}

void TestMyDialog::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("clears");
    QTest::addRow("escape closes") << int(Qt::Key_Escape) << true << 0;
    QTest::addRow("backspace clears") << int(Qt::Key_Backspace) << false << 1;
    QTest::addRow("other key nothing") << int(Qt::Key_A) << false << 0;
}

void TestMyDialog::keys()
{
    QFETCH(int, key);
    QFETCH(bool, closed);
    QFETCH(int, clears);
    MyDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy close(&dialog, &MyDialog::signal_close);
    QSignalSpy clear(&dialog, &MyDialog::signal_clear);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QVERIFY(close.isValid() && clear.isValid() && rejected.isValid());
    QTest::keyClick(&dialog, Qt::Key(key));
    // A button's key clicks it after its short press animation.
    QTest::qWait(200);
    QCOMPARE(close.count(), closed ? 1 : 0);
    QCOMPARE(rejected.count(), closed ? 1 : 0);
    QCOMPARE(dialog.isVisible(), !closed);
    QCOMPARE(clear.count(), clears);
}

void TestMyDialog::modeAndTexts()
{
    MyDialog dialog(nullptr, "mydialogsystem", true, MyDialog::kFrameless, 3);
    QCOMPARE(dialog.mode(), 3);
    QCOMPARE(dialog.objectName(), QStringLiteral("mydialogsystem"));
    QVERIFY(dialog.isModal());
    dialog.setdialogtitle(QStringLiteral("系统参数"));
    dialog.setdialogmsg(QStringLiteral("范围: 0 - 100"));
    QCOMPARE(dialog.titleLabel()->text(), QStringLiteral("系统参数"));
    QCOMPARE(dialog.msgLabel()->text(), QStringLiteral("范围: 0 - 100"));
    QCOMPARE(dialog.titleLabel()->font().pixelSize(), 24);
}

QTEST_MAIN(TestMyDialog)
#include "test_mydialog.moc"
