#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QLabel *labelNamed(QWidget *w, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (auto *label = w->findChild<QLabel *>(QString::fromLatin1(name)))
            return label;
    }
    return nullptr;
}

QString squeezed(const QString &s)
{
    QString out = s;
    out.remove(QLatin1Char(' '));
    return out;
}

QAbstractButton *buttonMatching(QWidget *w, const QString &objectName, const QStringList &labels)
{
    const auto buttons = w->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (!objectName.isEmpty() && b->objectName() == objectName && b->isVisible())
            return b;
    }
    for (QAbstractButton *b : buttons) {
        if (!b->isVisible())
            continue;
        const QString label = squeezed(b->text()).remove(QLatin1Char('&'));
        for (const QString &l : labels) {
            if (label.compare(l, Qt::CaseInsensitive) == 0)
                return b;
        }
    }
    return nullptr;
}

QWidget *focusIn(QWidget *modal)
{
    QWidget *f = QApplication::focusWidget();
    if (f && (f == modal || modal->isAncestorOf(f)))
        return f;
    if (QWidget *own = modal->focusWidget())
        return own;
    return modal;
}

} // namespace

ModalDriver::ModalDriver(QObject *parent, int intervalMs)
    : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::tick);
    timer_.start(intervalMs);
}

ModalDriver &ModalDriver::pressOk() { return enqueue({Kind::Ok, {}, 0, {}}); }
ModalDriver &ModalDriver::pressCancel() { return enqueue({Kind::Cancel, {}, 0, {}}); }
ModalDriver &ModalDriver::escape() { return enqueue({Kind::Escape, {}, 0, {}}); }
ModalDriver &ModalDriver::typeAndReturn(const QString &text) { return enqueue({Kind::Type, text, 0, {}}); }
ModalDriver &ModalDriver::key(int key, const QString &text) { return enqueue({Kind::Key, text, key, {}}); }
ModalDriver &ModalDriver::click(const QString &nameOrText) { return enqueue({Kind::Click, nameOrText, 0, {}}); }
ModalDriver &ModalDriver::inspect(Inspector inspector) { return enqueue({Kind::Inspect, {}, 0, std::move(inspector)}); }

ModalDriver &ModalDriver::enqueue(Action action)
{
    queue_.append(std::move(action));
    return *this;
}

int ModalDriver::unexpected() const
{
    int n = 0;
    for (const Seen &s : seen_)
        n += s.expected ? 0 : 1;
    return n;
}

QStringList ModalDriver::texts() const
{
    QStringList out;
    for (const Seen &s : seen_)
        out << s.text;
    return out;
}

ModalDriver &ModalDriver::passThrough(const QString &className)
{
    if (!passThrough_.contains(className))
        passThrough_.append(className);
    return *this;
}

ModalDriver &ModalDriver::handle(const QString &className)
{
    passThrough_.removeAll(className);
    return *this;
}

QString ModalDriver::titleOf(QWidget *w)
{
    if (QLabel *l = labelNamed(w, {"title", "ltitle"}))
        return l->text();
    return w->windowTitle();
}

QString ModalDriver::textOf(QWidget *w)
{
    QLabel *l = labelNamed(w, {"Label", "edit_msg"});
    return l ? l->text() : QString();
}

void ModalDriver::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (handled_ && !handled_->isVisible())
        handled_.clear();
    if (!modal || !modal->isVisible() || modal == handled_)
        return;
    if (passThrough_.contains(QString::fromLatin1(modal->metaObject()->className())))
        return;

    Seen seen{QString::fromLatin1(modal->metaObject()->className()), titleOf(modal), textOf(modal), {}, true};
    while (!queue_.isEmpty() && queue_.first().kind == Kind::Inspect) {
        const Action inspector = queue_.takeFirst();
        inspector.inspector(modal);
    }
    Action action{Kind::Escape, {}, 0, {}};
    if (queue_.isEmpty())
        seen.expected = false;
    else
        action = queue_.takeFirst();
    seen.action = describe(action);
    if (!apply(modal, action))
        seen.action += QStringLiteral(" (not possible)");
    seen_.append(seen);
    handled_ = modal;
}

bool ModalDriver::apply(QWidget *modal, const Action &action)
{
    switch (action.kind) {
    case Kind::Ok:
        if (QAbstractButton *b = buttonMatching(modal, QStringLiteral("Button_ok"), {QStringLiteral("确定"), QStringLiteral("OK")})) {
            b->click();
            return true;
        }
        QTest::keyClick(focusIn(modal), Qt::Key_Return);
        return true;
    case Kind::Cancel:
        if (QAbstractButton *b = buttonMatching(modal, QStringLiteral("Button_quit"), {QStringLiteral("取消"), QStringLiteral("Cancel")})) {
            b->click();
            return true;
        }
        QTest::keyClick(focusIn(modal), Qt::Key_Escape);
        return true;
    case Kind::Escape:
        QTest::keyClick(focusIn(modal), Qt::Key_Escape);
        return true;
    case Kind::Type: {
        auto *edit = qobject_cast<QLineEdit *>(focusIn(modal));
        if (!edit)
            edit = modal->findChild<QLineEdit *>();
        if (!edit)
            return false;
        QTest::keyClicks(edit, action.text);
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    }
    case Kind::Key:
        QTest::sendKeyEvent(QTest::Click, focusIn(modal), static_cast<Qt::Key>(action.key), action.text, Qt::NoModifier);
        return true;
    case Kind::Click:
        if (QAbstractButton *b = buttonMatching(modal, action.text, {squeezed(action.text)})) {
            b->click();
            return true;
        }
        return false;
    case Kind::Inspect:
        return true;
    }
    return false;
}

QString ModalDriver::describe(const Action &action)
{
    switch (action.kind) {
    case Kind::Ok: return QStringLiteral("ok");
    case Kind::Cancel: return QStringLiteral("cancel");
    case Kind::Escape: return QStringLiteral("escape");
    case Kind::Type: return QStringLiteral("type ") + action.text;
    case Kind::Key: return QStringLiteral("key ") + QString::number(action.key);
    case Kind::Click: return QStringLiteral("click ") + action.text;
    case Kind::Inspect: return QStringLiteral("inspect");
    }
    return {};
}
