#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the modal dialogs a test opens: from a timer it finds the active modal widget, notes
// what it showed and applies the next queued action (press OK, Cancel, Escape, type text...).
// A modal widget that finds the queue empty is recorded as unexpected and gets Escape, so a
// test never hangs in a nested event loop.
class ModalDriver : public QObject
{
    Q_OBJECT

public:
    // What one modal widget showed when the driver met it.
    struct Seen
    {
        QString className;
        QString text; // the "Label"/"edit_msg" label
        bool expected = true;
    };
    using Inspector = std::function<void(QWidget *)>;

    explicit ModalDriver(QObject *parent = nullptr, int intervalMs = 10);

    // Queue builders; each answers one modal widget, in order.
    ModalDriver &pressOk();     // "Button_ok" or an OK/确定 button, else Return on the focus
    ModalDriver &pressCancel(); // "Button_quit" or a Cancel/取消 button, else Escape
    ModalDriver &escape();
    ModalDriver &typeAndReturn(const QString &text); // into the focused (or first) line edit
    ModalDriver &key(int key);
    ModalDriver &click(const QString &nameOrText); // a button by object name or label
    // Runs the inspector on the dialog, then applies the next queued action to the same one.
    ModalDriver &inspect(Inspector inspector);

    // Dialogs that close by themselves (a transfer, a copy) are left alone by default; a test
    // that wants to answer one (a copy that failed and waits for Exit) takes it back.
    ModalDriver &passThrough(const QString &className);
    ModalDriver &handle(const QString &className);

    const QList<Seen> &seen() const { return seen_; }
    int unexpected() const;
    QStringList texts() const;

private:
    struct Action
    {
        Inspector run;
        bool inspectOnly = false;
    };
    ModalDriver &enqueue(Inspector run, bool inspectOnly = false);
    void tick();

    QTimer timer_;
    QList<Action> queue_;
    QList<Seen> seen_;
    QPointer<QWidget> handled_; // answered and not yet hidden
    QStringList passThrough_{QStringLiteral("fileoperate"), QStringLiteral("FileOperateDialog")};
};
