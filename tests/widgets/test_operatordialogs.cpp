// The operator's message and input dialogs answered through the modal driver: the result of
// each answer (faults: Cancel or Escape taken as input, an empty confirmed field returned as
// null, a yes/no box true on Cancel), the texts shown, the field's length limit, the
// password echo and the preselected initial text.
#include "modaldriver.h"
#include "ui/operatordialogs.h"
#include "ui/palettes.h"
#include "ui/qidialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <functional>

class TestOperatorDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void input_data();
    void input();
    void yesNo_data();
    void yesNo();
    void message();
};

void TestOperatorDialogs::initTestCase()
{
    init_system_color();
}

namespace {
enum Fn { Text, Password, Select };
}

void TestOperatorDialogs::input_data()
{
    QTest::addColumn<int>("fn");
    QTest::addColumn<QString>("answer"); // "@ok", "@cancel", "@escape" or text typed then Return
    QTest::addColumn<bool>("null");
    QTest::addColumn<QString>("result");
    QTest::addRow("text typed") << int(Text) << QStringLiteral("abc12") << false << QStringLiteral("abc12");
    QTest::addRow("text too long is cut") << int(Text) << QStringLiteral("123456789") << false << QStringLiteral("12345678");
    QTest::addRow("text empty ok") << int(Text) << QStringLiteral("@ok") << false << QString();
    QTest::addRow("text escape") << int(Text) << QStringLiteral("@escape") << true << QString();
    QTest::addRow("text close button") << int(Text) << QStringLiteral("@cancel") << true << QString();
    QTest::addRow("password typed") << int(Password) << QStringLiteral("6666") << false << QStringLiteral("6666");
    QTest::addRow("select kept") << int(Select) << QStringLiteral("@ok") << false << QStringLiteral("JOB1");
    QTest::addRow("select overtyped") << int(Select) << QStringLiteral("NEW") << false << QStringLiteral("NEW");
}

void TestOperatorDialogs::input()
{
    QFETCH(int, fn);
    QFETCH(QString, answer);
    QFETCH(bool, null);
    QFETCH(QString, result);
    const QString prompt = QStringLiteral("请输入文件名");
    ModalDriver driver;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    driver.inspect([&echo](QWidget *w) {
        if (auto *edit = w->findChild<QLineEdit *>())
            echo = edit->echoMode();
    });
    if (answer == QLatin1String("@ok"))
        driver.pressOk();
    else if (answer == QLatin1String("@cancel"))
        driver.click(QStringLiteral("X"));
    else if (answer == QLatin1String("@escape"))
        driver.escape();
    else
        driver.typeAndReturn(answer);

    QString got;
    if (fn == Text)
        got = DIATEXT(nullptr, QStringLiteral("caption"), prompt, 8);
    else if (fn == Password)
        got = DIAPASSWORD(nullptr, QStringLiteral("caption"), prompt, 8);
    else
        got = DIATEXTSELECT(nullptr, QStringLiteral("caption"), prompt, 8, QStringLiteral("JOB1"));

    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), 0);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().at(0).className, QStringLiteral("QIDialog"));
    QCOMPARE(driver.seen().at(0).title, QStringLiteral("Input Dialog"));
    QCOMPARE(driver.seen().at(0).text, prompt);
    QCOMPARE(echo, fn == Password ? QLineEdit::Password : QLineEdit::Normal);
    QCOMPARE(got.isNull(), null);
    if (!null)
        QCOMPARE(got, result);
}

void TestOperatorDialogs::yesNo_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::addRow("ok") << QStringLiteral("ok") << true;
    QTest::addRow("cancel") << QStringLiteral("cancel") << false;
    QTest::addRow("escape") << QStringLiteral("escape") << false;
    QTest::addRow("return takes the default ok") << QStringLiteral("return") << true;
}

void TestOperatorDialogs::yesNo()
{
    QFETCH(QString, answer);
    QFETCH(bool, result);
    ModalDriver driver;
    QStringList buttons;
    driver.inspect([&buttons](QWidget *w) {
        for (const char *name : {"Button_ok", "Button_quit"}) {
            auto *b = w->findChild<QAbstractButton *>(QString::fromLatin1(name));
            buttons << (b ? b->text() : QString());
        }
    });
    if (answer == QLatin1String("ok"))
        driver.pressOk();
    else if (answer == QLatin1String("cancel"))
        driver.pressCancel();
    else if (answer == QLatin1String("escape"))
        driver.escape();
    else
        driver.key(Qt::Key_Return);
    QCOMPARE(DIAYESNO(nullptr, QStringLiteral("是否删除文件 ?")), result);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().at(0).title, QStringLiteral("信  息"));
    QCOMPARE(driver.seen().at(0).text, QStringLiteral("是否删除文件 ?"));
    QCOMPARE(buttons, QStringList({QStringLiteral("确    定"), QStringLiteral("取  消")}));
}

// The message box has OK alone, fits the screen, and a second message is answered in turn.
void TestOperatorDialogs::message()
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
    QCOMPARE(driver.texts(), QStringList({QStringLiteral("参数范围不正确, 请查看参数范围 !"), QStringLiteral("文件错误 !")}));
    QCOMPARE(driver.unexpected(), 0);
}

QTEST_MAIN(TestOperatorDialogs)
#include "test_operatordialogs.moc"
