// The on-screen key panels, touched beside a focused page: what each shows for a code and the
// key events the page then receives (faults: a label on a button that posts another key, keys
// of an earlier code left shown, a gap above the shown keys, the panel taking the focus, a key
// posted without its character or keypad modifier, or one posted that the panel does not inject).
#include "testtable.h"
#include "ui/keypadkeybutton.h"
#include "ui/panelkeybutton.h"
#include "ui/paramkeys.h"
#include "ui/workparamkeys.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTest>

namespace {

// Notes each key event as "53 '5'", with " keypad" for the keypad modifier.
QString describe(int key, const QString &text, bool keypad)
{
    return QStringLiteral("%1 '%2'%3").arg(key).arg(text, keypad ? QStringLiteral(" keypad") : QString());
}

// The page a panel stands beside: keeps the focus and records what reaches it.
class RecordingPage : public QWidget
{
public:
    QStringList presses;
    QStringList releases;

    RecordingPage() { setFocusPolicy(Qt::StrongFocus); }

protected:
    void keyPressEvent(QKeyEvent *e) override { presses << note(e); }
    void keyReleaseEvent(QKeyEvent *e) override { releases << note(e); }

private:
    static QString note(QKeyEvent *e)
    {
        return describe(e->key(), e->text(), e->modifiers().testFlag(Qt::KeypadModifier));
    }
};

// The page and a key widget side by side in a shown window, the page focused.
class Bench
{
public:
    QWidget window;
    RecordingPage *page = new RecordingPage;

    explicit Bench(QWidget *keys)
    {
        auto *row = new QHBoxLayout(&window);
        row->addWidget(page, 1);
        row->addWidget(keys);
        window.resize(640, 480);
        window.show();
        if (QTest::qWaitForWindowActive(&window))
            page->setFocus();
    }

    // Touches the button; the posted events arrive before this returns.
    QString touch(QAbstractButton *button)
    {
        page->presses.clear();
        page->releases.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        if (QApplication::focusWidget() != page)
            return QStringLiteral("focus lost");
        if (page->presses != page->releases || page->presses.size() > 1)
            return page->presses.join(QLatin1Char(',')) + QStringLiteral(" / ") + page->releases.join(QLatin1Char(','));
        return page->presses.value(0);
    }
};

QString digit(int d)
{
    return describe(Qt::Key_0 + d, QString::number(d), false);
}

const QString kEnter = describe(Qt::Key_Enter, QStringLiteral("\r"), true);
const QString kM = describe(Qt::Key_M, QStringLiteral("M"), false);

QStringList digitRows()
{
    QStringList rows;
    for (int d = 1; d <= 10; ++d)
        rows << QString::number(d % 10) + QStringLiteral(" = ") + digit(d % 10);
    return rows;
}

} // namespace

class TestKeyPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        // shown: label = key posted, button 0 first
        TestTable::columns<bool, int, QStringList>("multi", "code", "shown");
        const QString ok = QStringLiteral("确   定 = ") + kEnter;
        QTest::addRow("switch") << false << 1 << QStringList{"打开 = " + digit(1), "关闭 = " + digit(2)};
        QTest::addRow("lock, not locked on 0") << false << 5
            << QStringList{"左锁定 = " + digit(1), "右锁定 = " + digit(2), "不锁定 = " + digit(0)};
        QTest::addRow("signed number") << false << 7
            << digitRows() + QStringList{"+/- = " + describe(Qt::Key_Minus, "-", false), ok};
        QTest::addRow("timing belt, Enter first") << false << 240 << QStringList{ok, "M = " + kM};
        QTest::addRow("taught position") << false << 241 << QStringList{ok} + digitRows() + QStringList{"清   零 = " + kM};
        QTest::addRow("no keys") << false << 255 << QStringList{};
        QTest::addRow("unknown code") << false << 6 << QStringList{};
        QTest::addRow("paged parameters") << true << 1
            << QStringList{" 上一页 = " + describe(Qt::Key_PageUp, "", false),
                           " 下一页 = " + describe(Qt::Key_PageDown, "", false), " 整组修改 = " + kM};
        QTest::addRow("carrier parking") << true << 4
            << QStringList{" 上一组 = " + describe(Qt::Key_PageUp, "", false), " 下一组 = " + describe(Qt::Key_PageDown, "", false)};
    }
    void keys()
    {
        auto [multi, code, shown] = TestTable::fetch<bool, int, QStringList>("multi", "code", "shown");
        KeyColumn *panel = multi ? static_cast<KeyColumn *>(new WorkParamKeys) : new ParamKeys;
        Bench bench(panel); // the window owns the panel
        QCOMPARE(QApplication::focusWidget(), bench.page);
        // The fullest layout first, so keys it leaves behind show up.
        panel->showKeysFor(multi ? 1 : 241);
        panel->showKeysFor(code);
        panel->layout()->activate();
        QStringList got;
        int top = 0;
        for (int id = 0; id < KeyColumn::kButtons; ++id) {
            PanelKeyButton *button = panel->button(id);
            if (!button->isVisible())
                continue;
            QCOMPARE(button->y(), top);
            top += button->height();
            got << button->text() + QStringLiteral(" = ") + bench.touch(button);
        }
        QCOMPARE(got, shown);
    }

    // KeypadKeyButton posts only the page keys and M, as the keypad sends them.
    void multibuttonKeys_data()
    {
        TestTable::columns<int, QString>("key", "posted");
        QTest::addRow("page down") << int(Qt::Key_PageDown) << describe(Qt::Key_PageDown, QString(), false);
        QTest::addRow("M") << int(Qt::Key_M) << kM;
        QTest::addRow("a digit is the key panels'") << int(Qt::Key_7) << QString();
        QTest::addRow("Enter is the key panels'") << int(Qt::Key_Enter) << QString();
    }
    void multibuttonKeys()
    {
        auto [key, posted] = TestTable::fetch<int, QString>("key", "posted");
        auto *button = new KeypadKeyButton(nullptr, "Bkey", key);
        Bench bench(button);
        QCOMPARE(bench.touch(button), posted);
    }
};

QTEST_MAIN(TestKeyPanels)
#include "test_keypanels.moc"
