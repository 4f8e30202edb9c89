#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

namespace {

QString squeezed(QString s)
{
    return s.remove(QLatin1Char(' ')).remove(QLatin1Char('&'));
}

// A visible button by object name, else by its label without blanks.
QAbstractButton *buttonMatching(QWidget *w, const QString &objectName, const QStringList &labels)
{
    const auto buttons = w->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (b->isVisible() && b->objectName() == objectName)
            return b;
    }
    for (QAbstractButton *b : buttons) {
        if (b->isVisible() && labels.contains(squeezed(b->text()), Qt::CaseInsensitive))
            return b;
    }
    return nullptr;
}

QWidget *focusIn(QWidget *modal)
{
    QWidget *f = QApplication::focusWidget();
    if (f && (f == modal || modal->isAncestorOf(f)))
        return f;
    return modal->focusWidget() ? modal->focusWidget() : modal;
}

// A button if there is one, else the key on the focus.
ModalDriver::Inspector buttonOrKey(const QString &name, const QStringList &labels, Qt::Key key)
{
    return [=](QWidget *m) {
        if (QAbstractButton *b = buttonMatching(m, name, labels))
            b->click();
        else
            QTest::keyClick(focusIn(m), key);
    };
}

} // namespace

ModalDriver::ModalDriver(QObject *parent, int intervalMs)
    : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::tick);
    timer_.start(intervalMs);
}

ModalDriver &ModalDriver::pressOk()
{
    return enqueue(buttonOrKey(QStringLiteral("Button_ok"), {QStringLiteral("确定"), QStringLiteral("OK")}, Qt::Key_Return));
}

ModalDriver &ModalDriver::pressCancel()
{
    return enqueue(buttonOrKey(QStringLiteral("Button_quit"), {QStringLiteral("取消"), QStringLiteral("Cancel")}, Qt::Key_Escape));
}

ModalDriver &ModalDriver::escape()
{
    return key(Qt::Key_Escape);
}

ModalDriver &ModalDriver::key(int key)
{
    return enqueue([key](QWidget *m) { QTest::keyClick(focusIn(m), Qt::Key(key)); });
}

ModalDriver &ModalDriver::typeAndReturn(const QString &text)
{
    return enqueue([text](QWidget *m) {
        auto *edit = qobject_cast<QLineEdit *>(focusIn(m));
        if (!edit)
            edit = m->findChild<QLineEdit *>();
        if (edit) {
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
}

ModalDriver &ModalDriver::click(const QString &nameOrText)
{
    return enqueue([nameOrText](QWidget *m) {
        if (QAbstractButton *b = buttonMatching(m, nameOrText, {squeezed(nameOrText)}))
            b->click();
    });
}

ModalDriver &ModalDriver::inspect(Inspector inspector)
{
    return enqueue(std::move(inspector), true);
}

ModalDriver &ModalDriver::enqueue(Inspector run, bool inspectOnly)
{
    queue_.append({std::move(run), inspectOnly});
    return *this;
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

int ModalDriver::unexpected() const
{
    return int(std::count_if(seen_.begin(), seen_.end(), [](const Seen &s) { return !s.expected; }));
}

QStringList ModalDriver::texts() const
{
    QStringList out;
    for (const Seen &s : seen_)
        out << s.text;
    return out;
}

void ModalDriver::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (handled_ && !handled_->isVisible())
        handled_.clear();
    if (!modal || !modal->isVisible() || modal == handled_)
        return;
    const QString className = QString::fromLatin1(modal->metaObject()->className());
    if (passThrough_.contains(className))
        return;
    QLabel *label = modal->findChild<QLabel *>(QStringLiteral("Label"));
    if (!label)
        label = modal->findChild<QLabel *>(QStringLiteral("edit_msg"));
    while (!queue_.isEmpty() && queue_.first().inspectOnly)
        queue_.takeFirst().run(modal);
    seen_.append({className, label ? label->text() : QString(), !queue_.isEmpty()});
    handled_ = modal;
    if (queue_.isEmpty())
        QTest::keyClick(focusIn(modal), Qt::Key_Escape);
    else
        queue_.takeFirst().run(modal);
}
