// Menus in English open what they open in Chinese: every item of the system tools menu, on both
// its pages, is chosen in each language against knitsim, and what it opened (each dialog's class
// in turn, the menu's page after) is compared. Faults caught: a menu that dispatches on the text
// its button shows, so that a translated item opens nothing, or something else; a label or
// button on a page it opens whose text (English is the longer) does not fit the widget. The
// other pages built in each language (the main screen with its widest alarm among them): a text
// cut by its widget, siblings that overlap; a text of either language with a glyph the panel's
// font lacks, a translation that drops, adds or repeats a place marker of its source (the
// value would vanish or show twice on the English screen). An update item that loses its
// version in English. The main screen's zeroing sequence, kept in its message line, advances
// while the line shows English. A screen that can stand open through a change of language (the
// main screen, JobParamsDialog on each tab, the language menu, the carriage test) showing after it any text
// other than it shows when built in the new language: a label set once when built, a help line
// left as it was. A touch on the desktop picture's language names that opens nothing; a choice
// the panel could not save that does not switch it, or switches it without a word to the
// operator.
#include "mainscreeninternals.h"
#include "modaldriver.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"
#include "testtable.h"

#include "data/alarmtexts.h"
#include "data/machinedata.h"
#include "data/messagesteps.h"
#include "editors/cntedit.h"
#include "editors/patedit.h"
#include "files/diskfilemanager.h"
#include "files/jobdeletionpage.h"
#include "files/jobimportdialog.h"
#include "history/historypage.h"
#include "logic/mainwin/language.h"
#include "logic/mainwin/translations.h"
#include "logic/service/controllerupdate.h"
#include "machinetests/carriagetestpage.h"
#include "machinetests/controllertestmenu.h"
#include "machinetests/iotestpage.h"
#include "mainwin/buttonwarm.h"
#include "mainwin/labelmessage.h"
#include "mainwin/labeltime.h"
#include "mainwin/languagemenu.h"
#include "mainwin/mainscreen.h"
#include "mainwin/startpicture.h"
#include "pages/panelpages.h"
#include "params/frequentsettingsframe.h"
#include "params/systemtoolsmenu.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "service/softwareupdatemenu.h"
#include "ui/bmpedit.h"
#include "ui/jobchooserdialog.h"
#include "ui/layoutaudit.h"
#include "ui/menugrid.h"
#include "ui/panelfonts.h"
#include "ui/quickpages.h"
#include "ui/stickexportdialog.h"
#include "ui/stickimportdialog.h"
#include "ui/textinputdialog.h"
#include "ui/touchlabel.h"
#include "ui/updatefolderdialog.h"
#include "workparams/jobparamsdialog.h"
#include "workparams/workfilebrowser.h"
#include "workparams/yarnfeederdialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

namespace {

const QString kQmDir = QStringLiteral(KNIT_BINARY_DIR "/share/knitpanel/translations");
const QString kPassword = QStringLiteral("7063");

// A text's place markers (%1, %L2, %n), sorted.
QStringList placeMarkers(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(L?)(\\d+|n)"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured(0));
    std::sort(found.begin(), found.end());
    return found;
}

// What the layout audit finds on the page's window as it stands.
QStringList audited(QWidget *page)
{
    QWidget *window = page->window();
    return LayoutAudit::findings(window) + LayoutAudit::overlaps(window);
}

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
        if (qobject_cast<TransferDialog *>(modal) || qobject_cast<FileOperateDialog *>(modal))
            return; // a transfer ends by itself
        const QString name = QLatin1String(modal->metaObject()->className());
        if (modal != current_) {
            current_ = modal;
            ticks_ = 0;
            classes << name;
        }
        ++ticks_;
        if (ticks_ == 2)
            unfit << audited(modal);
        auto *edit = modal->findChild<QLineEdit *>();
        if (qobject_cast<TextInputDialog *>(modal) && edit && ticks_ == 3) {
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
MenuGrid *showing(SystemToolsMenu &menu, SystemToolsMenu::Page page)
{
    auto *grid = menu.findChild<MenuGrid *>();
    if (page == SystemToolsMenu::More) {
        Answerer turn;
        grid->item(1, 7)->click();
    }
    return menu.page() == page ? grid : nullptr;
}

// What choosing the item at column, row of a page opened; its label in shown, the texts that
// did not fit in unfit.
QStringList choose(MachineData &machine, SystemToolsMenu::Page page, int column, int row, QString *shown, QStringList *unfit)
{
    QuickPages pages;
    PanelPages::provide(pages, machine);
    SystemToolsMenu menu(machine, pages);
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

// The main screen started, with its desktop picture as at start-up or with the job's fields.
QWidget *startPicture(MachineData &machine)
{
    auto *w = new MainScreen(machine);
    w->start();
    return w;
}
QWidget *mainScreen(MachineData &machine)
{
    auto *w = static_cast<MainScreen *>(startPicture(machine));
    w->updateDesktop();
    return w;
}

// The main screen with the alarm whose text is the widest in the language shown.
QWidget *widestAlarm(MachineData &machine)
{
    auto *w = static_cast<MainScreen *>(mainScreen(machine));
    ButtonWarm *button = MainScreenInternals::buttonWarm(*w);
    int widest = -1, type = 0, code = 0;
    for (int t = 1; t <= 3; ++t) {
        for (int c = 0; c < 256; ++c) {
            const int width = button->fontMetrics().horizontalAdvance(AlarmTexts::shown(uchar(t), uchar(c)));
            if (AlarmTexts::isKnown(uchar(t), uchar(c)) && width > widest)
                std::tie(widest, type, code) = std::make_tuple(width, t, c);
        }
    }
    button->setWarm(uchar(type), uchar(code));
    return w;
}

// The pages the layout walk builds, each with the keys that turn it to its other tabs. (The
// pages of the system tools menu, the formatting pages among them, are audited as it opens them.)
struct Page
{
    const char *name;
    std::function<QWidget *(MachineData &)> make;
    QList<int> keys;
};

const Page kPages[] = {
    {"main screen", mainScreen, {}},
    {"alarm", widestAlarm, {}},
    {"start picture", startPicture, {}},
    {"work parameters", [](MachineData &m) { return new JobParamsDialog(m); }, {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6}},
    {"yarn feeders", [](MachineData &m) { return new YarnFeederDialog(m); }, {}},
    {"frequent parameters", [](MachineData &m) { return new FrequentSettingsFrame(m); }, {}},
    {"files", [](MachineData &m) { return new DiskFileManager(m); }, {}},
    {"documents", [](MachineData &m) { return new JobChooserDialog(m); }, {}},
    {"program editor", [](MachineData &m) { return new CntEdit(m); }, {}},
    {"pattern editor", [](MachineData &m) { return new PatEdit(m, QStringLiteral("none.pat")); }, {}},
    {"picture editor", [](MachineData &) { return new BmpEdit(QStringLiteral("none.bmp")); }, {}},
    {"machine tests", [](MachineData &m) { return new ControllerTestMenu(m); }, {}},
    {"carriage test", [](MachineData &m) { return new CarriageTestPage(m); }, {Qt::Key_M}},
    {"I/O test", [](MachineData &m) { return new IoTestPage(m); }, {}},
    {"deletion", [](MachineData &) { return new JobDeletionPage; }, {}},
    {"stick import", [](MachineData &) { return new StickImportDialog(QStringLiteral("x"), PanelPaths::usbRoot(), QStringLiteral("*")); }, {}},
    {"stick export", [](MachineData &) { return new StickExportDialog(QStringLiteral("x"), PanelPaths::usbRoot(), QStringLiteral("*")); }, {}},
    {"stick folder", [](MachineData &) { return new UpdateFolderDialog(QStringLiteral("x"), PanelPaths::usbRoot(), QStringLiteral("*")); }, {}},
    {"stick folder import", [](MachineData &) { return new JobImportDialog(PanelPaths::usbRoot(), PanelPaths::usbRoot()); }, {}},
    {"language menu", [](MachineData &) { return new LanguageMenu; }, {}},
    {"work file browser",
     [](MachineData &m) { return new WorkFileBrowser(m, WorkFileBrowser::kWithFiles, QStringLiteral(KNIT_SOURCE_DIR "/tests/data/default.wrk")); },
     {Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5}},
    {"history", [](MachineData &) { return new HistoryPage; }, {Qt::Key_Right, Qt::Key_Right}},
};

// The screens that can stand open while the language changes, each with what turns it to the
// state compared (a tab, a menu shown).
struct OpenScreen
{
    const char *name;
    std::function<QWidget *(MachineData &)> make;
    std::function<bool(QWidget *)> turn; // false: the state did not come
};

// The tab shown, with the help line its focused cell gives it.
bool workParamTab(QWidget *w, int tab)
{
    auto *page = static_cast<JobParamsDialog *>(w);
    page->showTab(tab);
    return QTest::qWaitFor([page] { return !page->msgLabel()->text().isEmpty(); }, 10000);
}

const OpenScreen kOpenScreens[] = {
    {"main screen", mainScreen, nullptr},
    {"alarm", widestAlarm, nullptr},
    {"start picture", startPicture, nullptr},
    {"work parameters density", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 0); }},
    {"work parameters speed", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 1); }},
    {"work parameters rollers", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 2); }},
    {"work parameters carriers", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 3); }},
    {"work parameters carrier replacement", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 4); }},
    {"work parameters piece expansion", [](MachineData &m) { return new JobParamsDialog(m); }, [](QWidget *w) { return workParamTab(w, 5); }},
    {"language menu", [](MachineData &) { return new LanguageMenu; }, nullptr},
    {"carriage test", [](MachineData &m) { return new CarriageTestPage(m); }, nullptr},
    {"carriage test menu", [](MachineData &m) { return new CarriageTestPage(m); }, [](QWidget *w) { static_cast<CarriageTestPage *>(w)->toggleSideMenu(); return true; }},
};

// A row a screen of the table, by its index.
template <typename Screen, std::size_t N>
void indexRows(const Screen (&screens)[N])
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(N); ++i)
        QTest::addRow("%s", screens[i].name) << i;
}

// The text of every label, button and tab the window shows, in the order they were made.
QStringList shownTexts(QWidget *window)
{
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || qobject_cast<LabelTime *>(w))
            continue;
        const QString name = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        if (auto *l = qobject_cast<QLabel *>(w))
            out << name + QStringLiteral(": ") + l->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            out << name + QStringLiteral(": ") + b->text();
        else if (auto *t = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < t->count(); ++i)
                out << name + QStringLiteral(": ") + t->tabText(i);
    }
    return out;
}

} // namespace

class TestMenuLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.25");
        PortOffset::useFree();
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        QVERIFY(sim_.command(QStringLiteral("set motostatus 0")));
    }
    void cleanup()
    {
        Translations::apply(QString::fromLatin1(Language::kChinese), kQmDir);
    }

    void systemTools_data()
    {
        TestTable::columns<int, int, int>("page", "column", "row");
        for (SystemToolsMenu::Page page : {SystemToolsMenu::Common, SystemToolsMenu::More}) {
            const QuickPages pages;
            SystemToolsMenu menu(machine_, pages);
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
        auto [page, column, row] = TestTable::fetch<int, int, int>("page", "column", "row");
        QString chinese, english;
        QStringList unfitChinese, unfitEnglish;
        const QStringList inChinese = choose(machine_, SystemToolsMenu::Page(page), column, row, &chinese, &unfitChinese);
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        const QStringList inEnglish = choose(machine_, SystemToolsMenu::Page(page), column, row, &english, &unfitEnglish);
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

    // An update item shows its version in English too, keeps its key through the change of
    // language, and still reports its cell.
    void updateItemKeepsVersion()
    {
        SoftwareUpdateMenu menu(machine_);
        disconnect(&menu, &MenuGrid::itemChosen, &menu, &SoftwareUpdateMenu::chooseItem);
        QSignalSpy chosen(&menu, &MenuGrid::itemChosen);
        QPushButton *master = menu.item(0, 1);
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        QTRY_VERIFY_WITH_TIMEOUT(!master->text().contains(QStringLiteral("主控制器")), 10000);
        const QString version = ControllerUpdate::masterVersion(machine_);
        QVERIFY2(master->text().contains(version), qPrintable(master->text()));
        QCOMPARE(master->shortcut(), QKeySequence(Qt::Key_2));
        master->click();
        QCOMPARE(chosen.value(0), (QVariantList{0, 1}));
    }

    // A choice that cannot be saved still switches the panel for this run, and says so.
    void unsavedChoice()
    {
        LanguageMenu menu;
        AtomicFile::setWriteLimitForTesting(0);
        ModalDriver driver;
        driver.pressOk();
        menu.menu()->item(0, 1)->click();
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(Translations::current(), QStringLiteral("en"));
        QCOMPARE(driver.texts.size(), 1);
        QVERIFY2(driver.texts[0].contains(QStringLiteral("not saved")), qPrintable(driver.texts[0]));
        QVERIFY(!QFile::exists(Language::settingsPath()));
    }

    // A touch on the language names in the desktop picture's corner opens the language menu.
    void desktopTarget()
    {
        Answerer answers;
        std::unique_ptr<QWidget> w(startPicture(machine_));
        TouchLabel *target = MainScreenInternals::startPicture(*static_cast<MainScreen *>(w.get()))->languageTarget();
        QCOMPARE(target->text(), QStringLiteral("中文 / English"));
        answers.classes.clear();
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(answers.classes, QStringList{QLatin1String(LanguageMenu::staticMetaObject.className())});
    }

    // A screen that can stand open while the language changes (the main screen, a standing
    // alarm, JobParamsDialog, which it builds once and keeps, on each tab, the language menu) shows after
    // the change what it shows when built in the new language: its labels, buttons, tabs and
    // help line.
    void relabelledAsBuilt_data() { indexRows(kOpenScreens); }
    void relabelledAsBuilt()
    {
        QFETCH(int, index);
        Answerer answers;
        const OpenScreen &screen = kOpenScreens[index];
        std::unique_ptr<QWidget> switched(screen.make(machine_)), fresh;
        switched->show();
        QVERIFY(!screen.turn || screen.turn(switched.get()));
        QCOMPARE(Translations::apply(QStringLiteral("en"), kQmDir), QStringLiteral("en"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        fresh.reset(screen.make(machine_));
        fresh->show();
        QVERIFY(!screen.turn || screen.turn(fresh.get()));
        QCOMPARE(shownTexts(switched.get()), shownTexts(fresh.get()));
    }

    // Every page, in both languages: every text within its widget, no siblings overlapping.
    void layout_data() { indexRows(kPages); }
    void layout()
    {
        QFETCH(int, index);
        const Page &page = kPages[index];
        QStringList found;
        for (const char *language : {Language::kChinese, "en"}) {
            QCOMPARE(Translations::apply(QString::fromLatin1(language), kQmDir), QString::fromLatin1(language));
            Answerer answers;
            std::unique_ptr<QWidget> w(page.make(machine_));
            // Audited as shown, before a page's own timers run (the program editor, no job
            // chosen, closes at its first).
            w->show();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QVERIFY(w->isVisible());
            found << audited(w.get());
            for (int key : page.keys) {
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), Qt::Key(key));
                QCoreApplication::processEvents();
                found << audited(w.get());
            }
        }
        found.removeDuplicates();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    // Every text of both languages has its glyphs in the panel's font, and every translation
    // keeps the place markers of its source: none dropped, added or doubled.
    void translationFile()
    {
        PanelFonts::install();
        const QFontMetrics fm(PanelFonts::panel());
        QFile ts(QStringLiteral(KNIT_SOURCE_DIR "/translations/knitpanel_en.ts"));
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&ts);
        QStringList missing;
        QString source;
        bool numerus = false;
        int checked = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("message"))
                numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            const bool translation = (xml.name() == QLatin1String("translation") && !numerus) || xml.name() == QLatin1String("numerusform");
            if (!translation && xml.name() != QLatin1String("source"))
                continue;
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (translation) {
                QVERIFY2(placeMarkers(text) == placeMarkers(source), qPrintable(source + " -> " + text));
                ++checked;
            } else {
                source = text;
            }
            for (char32_t c : text.toUcs4()) {
                if (!QChar::isSpace(c) && !fm.inFontUcs4(c))
                    missing << QStringLiteral("U+%1 in %2").arg(uint(c), 4, 16, QLatin1Char('0')).arg(text);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString())));
        QVERIFY(checked > 0);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

private:
    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
};

QTEST_MAIN(TestMenuLanguage)
#include "test_menulanguage.moc"
