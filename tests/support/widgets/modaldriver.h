#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "ui/fileoperatedialog.h"
#include "ui/transferdialog.h"

// Answers the modal dialogs a test opens: from a timer it finds the active modal widget, notes
// its class and its "Label"/"edit_msg" text and applies the next queued action. A modal widget
// that finds the queue empty counts as unexpected and gets Escape, so a test never hangs in a
// nested event loop. A modal widget whose dynamic property "busy" is true is left until it is
// false. One that stays up kStuckMs after its action (Escape ignored, busy for good) is
// unexpected too and is closed: the test fails on what follows instead of hanging until
// ctest's time-out.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;
    static constexpr int kStuckMs = 60000;

    // Each answer runs from the event queue, not from the timer: a dialog its action opens
    // (Return on a page that then reports) is answered by the timer's next turn, which a timer
    // still inside its own timeout would never take.
    ModalDriver()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { QMetaObject::invokeMethod(&timer_, [this] { tick(); }, Qt::QueuedConnection); });
        timer_.start(10);
    }

    // "Button_ok" or an OK/确定 button, else Return; "Button_quit" or Cancel/取消, else Escape.
    ModalDriver &pressOk() { return buttonOrKey(QStringLiteral("Button_ok"), {QStringLiteral("确定"), QStringLiteral("OK")}, Qt::Key_Return); }
    ModalDriver &pressCancel() { return buttonOrKey(QStringLiteral("Button_quit"), {QStringLiteral("取消"), QStringLiteral("Cancel")}, Qt::Key_Escape); }
    ModalDriver &escape() { return key(Qt::Key_Escape); }
    ModalDriver &key(Qt::Key k) { return then([k](QWidget *m) { QTest::keyClick(focusIn(m), k); }); }
    // The button clicked from the event loop once the driver's action has returned, for a button
    // whose action opens further dialogs: those are answered only then.
    ModalDriver &postClick(const QString &nameOrText)
    {
        return then([nameOrText](QWidget *m) {
            if (QAbstractButton *b = button(m, nameOrText, {nameOrText}))
                QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
        });
    }
    ModalDriver &click(const QString &nameOrText) // a button by object name or label
    {
        return then([nameOrText](QWidget *m) {
            if (QAbstractButton *b = button(m, nameOrText, {nameOrText}))
                b->click();
        });
    }
    ModalDriver &typeAndReturn(const QString &text) // into the focused (or first) line edit
    {
        return then([text](QWidget *m) {
            auto *edit = qobject_cast<QLineEdit *>(focusIn(m));
            if (!edit)
                edit = m->findChild<QLineEdit *>();
            if (edit) {
                QTest::keyClicks(edit, text);
                QTest::keyClick(edit, Qt::Key_Return);
            }
        });
    }
    // Runs on the dialog before the next queued action is applied to the same one.
    ModalDriver &inspect(Action look) { return then(std::move(look), true); }
    // Selects the entry shown as text in the dialog's file list, before the next action.
    ModalDriver &select(const QString &text)
    {
        return inspect([text](QWidget *m) {
            auto *list = m->findChild<QTreeWidget *>(QStringLiteral("list_dir"));
            const QList<QTreeWidgetItem *> found = list ? list->findItems(text, Qt::MatchExactly, 0) : QList<QTreeWidgetItem *>();
            QVERIFY2(!found.isEmpty(), qPrintable(text));
            list->setCurrentItem(found.first());
        });
    }

    QStringList texts;   // per modal widget met, in order
    QList<const QMetaObject *> classes; // their types
    int unexpected = 0;
    // Dialogs that close by themselves (a transfer, a copy) are left alone.
    QList<const QMetaObject *> passThrough{&TransferDialog::staticMetaObject, &FileOperateDialog::staticMetaObject};

private:
    static QWidget *focusIn(QWidget *modal)
    {
        QWidget *f = QApplication::focusWidget();
        if (f && (f == modal || modal->isAncestorOf(f)))
            return f;
        return modal->focusWidget() ? modal->focusWidget() : modal;
    }
    // A visible button by object name, else by its label without blanks and '&'.
    static QAbstractButton *button(QWidget *w, const QString &name, const QStringList &labels)
    {
        QAbstractButton *byLabel = nullptr;
        for (QAbstractButton *b : w->findChildren<QAbstractButton *>()) {
            if (b->isVisible() && b->objectName() == name)
                return b;
            if (b->isVisible() && !byLabel && labels.contains(b->text().remove(' ').remove('&'), Qt::CaseInsensitive))
                byLabel = b;
        }
        return byLabel;
    }
    ModalDriver &buttonOrKey(const QString &name, const QStringList &labels, Qt::Key k)
    {
        return then([=](QWidget *m) {
            if (QAbstractButton *b = button(m, name, labels))
                b->click();
            else
                QTest::keyClick(focusIn(m), k);
        });
    }
    ModalDriver &then(Action a, bool inspectOnly = false)
    {
        queue_.append({std::move(a), inspectOnly});
        return *this;
    }
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (handled_ && !handled_->isVisible())
            handled_.clear(); // a dialog shown again is a new question
        if (!modal || !modal->isVisible() || passThrough.contains(modal->metaObject())) {
            since_.invalidate();
            return;
        }
        if (modal == handled_ || modal->property("busy").toBool()) {
            // Handled already, or a page still reading (the stick browser while it mounts):
            // waited for, but not for ever.
            if (!since_.isValid())
                since_.start();
            if (since_.elapsed() < kStuckMs)
                return;
            ++unexpected;
            texts << QStringLiteral("(stuck: %1)").arg(QLatin1String(modal->metaObject()->className()));
            // Hidden, a dialog's exec() returns, whatever its own keys and reject() do.
            modal->hide();
            since_.invalidate();
            return;
        }
        since_.invalidate();
        QLabel *label = modal->findChild<QLabel *>(QStringLiteral("Label"));
        if (!label)
            label = modal->findChild<QLabel *>(QStringLiteral("edit_msg"));
        while (!queue_.isEmpty() && queue_.first().second)
            queue_.takeFirst().first(modal);
        texts << (label ? label->text() : QString());
        classes << modal->metaObject();
        handled_ = modal;
        if (queue_.isEmpty()) {
            ++unexpected;
            QTest::keyClick(focusIn(modal), Qt::Key_Escape);
        } else {
            queue_.takeFirst().first(modal);
        }
    }

    QTimer timer_;
    QList<QPair<Action, bool>> queue_;
    QPointer<QWidget> handled_;
    QElapsedTimer since_; // how long the present modal has waited on us
};

// Shows a page beside the driver: not modal, so that the driver answers only what the page
// opens, and active, as its keys are shortcuts of the active window. False if it never was.
inline bool shownActive(QWidget *page)
{
    if (auto *dialog = qobject_cast<QDialog *>(page))
        dialog->setModal(false);
    page->show();
    page->activateWindow();
    return QTest::qWaitForWindowActive(page);
}
