#include "layoutaudit.h"

#include "platform/atomicfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>

namespace {

const QRect kScreen(0, 0, 640, 480);

QString nameOf(const QWidget *w)
{
    QString path;
    for (const QWidget *p = w; p; p = p->parentWidget()) {
        const QString name = p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName();
        path = path.isEmpty() ? name : name + QLatin1Char('/') + path;
        if (p->isWindow())
            break;
    }
    return path;
}

// The widest line of text in w's font; dot fillers ("....") at a line's end do not count, as
// they are there to fill whatever room is left.
int textWidth(const QWidget *w, const QString &text)
{
    static const QRegularExpression filler(QStringLiteral("[.·…\\s]+$"));
    int widest = 0;
    const QString plain = QString(text).remove(QLatin1Char('&'));
    for (const QString &line : plain.split(QLatin1Char('\n')))
        widest = qMax(widest, w->fontMetrics().horizontalAdvance(QString(line).remove(filler)));
    return widest;
}

// The text of w that must fit, and the room it has; false for widgets without such text.
bool textAndRoom(const QWidget *w, QString *text, int *room)
{
    if (const auto *l = qobject_cast<const QLabel *>(w)) {
        if (l->wordWrap() || l->textFormat() == Qt::RichText || Qt::mightBeRichText(l->text()))
            return false;
        *text = l->text();
        *room = l->contentsRect().width() - 2 * l->margin() - (l->indent() > 0 ? l->indent() : 0);
        return true;
    }
    if (const auto *b = qobject_cast<const QAbstractButton *>(w)) {
        *text = b->text();
        *room = b->contentsRect().width();
        // A box's text stands beside its indicator.
        if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
            *room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                + w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        return true;
    }
    return false;
}

} // namespace

void LayoutAudit::install()
{
    const QString path = qEnvironmentVariable("KNIT_LAYOUT_AUDIT");
    static LayoutAudit *filter = nullptr;
    if (!filter && !path.isEmpty()) {
        filter = new LayoutAudit(path, qApp);
        qApp->installEventFilter(filter);
    }
}

LayoutAudit::LayoutAudit(const QString &path, QObject *parent)
    : QObject(parent)
    , path_(path)
{
}

bool LayoutAudit::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::LayoutRequest) && watched->isWidgetType() && !pending_) {
        // Once the event loop is back, when the window's geometry and texts have settled.
        pending_ = true;
        QTimer::singleShot(0, this, &LayoutAudit::audit);
    }
    return false;
}

void LayoutAudit::audit()
{
    pending_ = false;
    QStringList lines;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        for (const QString &f : findings(w)) {
            if (!written_.contains(f)) {
                written_.insert(f);
                lines.append(f);
            }
        }
    }
    if (lines.isEmpty())
        return;
    all_ += lines;
    AtomicFile::save(path_, (all_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QStringList LayoutAudit::findings(QWidget *window)
{
    QStringList found;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        if (!w->isVisible() || w->window() != window)
            continue;
        // From the window's frame position: the panel's windows have no frame.
        const QRect onScreen(window->pos() + w->mapTo(window, QPoint(0, 0)), w->size());
        if (!kScreen.contains(onScreen))
            found.append(QStringLiteral("outside %1: %2,%3 %4x%5")
                             .arg(nameOf(w))
                             .arg(onScreen.x())
                             .arg(onScreen.y())
                             .arg(onScreen.width())
                             .arg(onScreen.height()));
        QString text;
        int room = 0;
        if (!textAndRoom(w, &text, &room) || text.isEmpty())
            continue;
        const int needed = textWidth(w, text);
        if (needed > room)
            found.append(QStringLiteral("cut %1: \"%2\" needs %3 px, has %4")
                             .arg(nameOf(w), QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n")))
                             .arg(needed)
                             .arg(room));
    }
    return found;
}
