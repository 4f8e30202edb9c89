// Menus in English open what they open in Chinese: every item of the system tools menu, on both
// its pages, is chosen in each language against knitsim, and what it opened (each dialog's class
// in turn, the menu's page after) is compared. Faults caught: a menu that dispatches on the text
// its button shows, so that a translated item opens nothing, or something else; a label or
// button on a page it opens whose text (English is the longer) does not fit the widget. And the
// main screen's zeroing sequence, kept in its message line, advances while the line shows English.
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/messagesteps.h"
#include "logic/language.h"
#include "logic/translations.h"
#include "mainwin/labelmessage.h"
#include "params/extsyspara.h"
#include "ui/layoutaudit.h"
#include "ui/menugrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kQmDir = QStringLiteral(KNIT_BINARY_DIR "/share/knitpanel/translations");
const QString kPassword = QStringLiteral("7063");

// Answers every dialog the menu opens: a password prompt gets the password, anything else
// Escape once it has settled (again now and then, and hidden at last, so a page that keeps
// Escape for itself cannot hold the test). Notes each dialog's class once.
class Answerer
{
public:
    Answerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(10);
    }
    QStringList classes;
    QStringList unfit; // texts that do not fit their widgets, in every dialog opened

private:
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal->property("busy").toBool())
            return;
        const QString name = QLatin1String(modal->metaObject()->className());
        if (name == QLatin1String("fileoperate") || name == QLatin1String("FileOperateDialog"))
            return; // a transfer ends by itself
        if (modal != current_) {
            current_ = modal;
            ticks_ = 0;
            classes << name;
        }
        ++ticks_;
        if (ticks_ == 2)
            unfit << LayoutAudit::findings(modal);
        auto *edit = modal->findChild<QLineEdit *>();
        if (name == QLatin1String("QIDialog") && edit && ticks_ == 3) {
            edit->setText(kPassword);
            QTest::keyClick(edit, Qt::Key_Return);
        } else if (ticks_ % 20 == 3) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal, Qt::Key_Escape);
        } else if (ticks_ > 300) {
            modal->hide();
        }
    }

    QTimer timer_;
    QPointer<QWidget> current_;
    int ticks_ = 0;
};

// The menu's grid showing page: the more page is behind item F8 and the password.
MenuGrid *showing(extsyspara &menu, extsyspara::Page page)
{
    auto *grid = menu.findChild<MenuGrid *>();
    if (page == extsyspara::More) {
        Answerer turn;
        grid->item(1, 7)->click();
    }
    return menu.page() == page ? grid : nullptr;
}

// What choosing the item at column, row of a page opened; its label in shown, the texts that
// did not fit in unfit.
QStringList choose(extsyspara::Page page, int column, int row, QString *shown, QStringList *unfit)
{
    extsyspara menu;
    MenuGrid *grid = showing(menu, page);
    if (!grid)
        return {QStringLiteral("(page %1 did not open)").arg(page)};
    QPushButton *item = grid->item(column, row);
    *shown = item->text();
    Answerer answers;
    item->click();
    QStringList opened = answers.classes;
    *unfit = answers.unfit;
    opened << QStringLiteral("page %1").arg(menu.page());
    return opened;
}

} // namespace

class TestMenuLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.25");
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        QString why;
        QVERIFY2(sim_.start(&why), qPrintable(why));
        QVERIFY(sim_.command(QStringLiteral("set motostatus 0")));
    }
    void cleanup()
    {
        Translations::apply(QString::fromLatin1(Language::kChinese), kQmDir);
    }

    void systemTools_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        for (extsyspara::Page page : {extsyspara::Common, extsyspara::More}) {
            extsyspara menu;
            MenuGrid *grid = showing(menu, page);
            QVERIFY(grid);
            for (int c = 0; c < MenuGrid::kColumns; ++c) {
                for (int r = 0; r < MenuGrid::kRows; ++r) {
                    const QString text = grid->item(c, r)->text();
                    if (!text.isEmpty())
                        QTest::addRow("%s", qPrintable(text)) << int(page) << c << r;
                }
            }
        }
    }
    void systemTools()
    {
        QFETCH(int, page);
        QFETCH(int, column);
        QFETCH(int, row);
        QString chinese, english;
        QStringList unfitChinese, unfitEnglish;
        const QStringList inChinese = choose(extsyspara::Page(page), column, row, &chinese, &unfitChinese);
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        const QStringList inEnglish = choose(extsyspara::Page(page), column, row, &english, &unfitEnglish);
        // Every text of every page it opened fits its widget, in both languages.
        QVERIFY2(unfitChinese.isEmpty() && unfitEnglish.isEmpty(), qPrintable((unfitChinese + unfitEnglish).join('\n')));
        QVERIFY2(english != chinese, qPrintable(english)); // the item is translated
        // Every item opens a page or turns the menu's page.
        QVERIFY2(inChinese.size() > 1 || inChinese.value(0) != QStringLiteral("page %1").arg(page), qPrintable(chinese));
        QCOMPARE(inEnglish, inChinese);
    }

    // The zeroing sequence lives in the message line: shown in English, it still advances.
    void messageSequenceInEnglish()
    {
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        LabelMessage line;
        line.setMessage(MessageSteps::zeroArmed(), QString());
        QVERIFY2(!line.text().contains(MessageSteps::zeroArmed()), qPrintable(line.text()));
        const MessageSteps::Action action = MessageSteps::step(MessageSteps::Report::ZeroingStarted, line.getMessage1());
        QCOMPARE(int(action.kind), int(MessageSteps::Kind::Show));
        QCOMPARE(action.text, MessageSteps::zeroing());
    }

private:
    std::unique_ptr<TestRoot> root_;
    SimProcess sim_;
};

QTEST_MAIN(TestMenuLanguage)
#include "test_menulanguage.moc"
