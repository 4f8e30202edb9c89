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

// The widest line in w's font, and the height its lines' ink takes; dot fillers ("....") at a
// line's end do not count, as they are there to fill whatever room is left. A line's width is
// the lesser of its advance and its bounding box: the ink may stand a pixel past the advance
// or short of it, and a line is only cut when neither fits.
QSize textSize(const QWidget *w, const QString &text)
{
    static const QRegularExpression filler(QStringLiteral("[.·…\\s]+$"));
    const QFontMetrics fm = w->fontMetrics();
    const QStringList lines = QString(text).remove(QLatin1Char('&')).split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString &line : lines) {
        const QString shown = QString(line).remove(filler);
        widest = qMax(widest, qMin(fm.horizontalAdvance(shown), fm.boundingRect(shown).width()));
    }
    const int ink = lines.size() == 1 ? fm.tightBoundingRect(lines.first()).height() : int(lines.size()) * fm.lineSpacing();
    return QSize(widest, ink);
}

// The text of w that must fit, and the room it has; false for widgets without such text.
bool textAndRoom(const QWidget *w, QString *text, QSize *room)
{
    if (const auto *l = qobject_cast<const QLabel *>(w)) {
        if (l->wordWrap() || l->textFormat() == Qt::RichText || Qt::mightBeRichText(l->text()))
            return false;
        *text = l->text();
        *room = QSize(l->contentsRect().width() - 2 * l->margin() - (l->indent() > 0 ? l->indent() : 0),
                      l->contentsRect().height() - 2 * l->margin());
        return true;
    }
    if (const auto *b = qobject_cast<const QAbstractButton *>(w)) {
        *text = b->text();
        *room = b->contentsRect().size();
        // A box's text stands beside its indicator.
        if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
            room->rwidth() -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                + w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        return true;
    }
    return false;
}

// The visible widgets of the window, itself first; not those of windows over it.
QList<QWidget *> shownIn(QWidget *window)
{
    QList<QWidget *> shown;
    if (!window->isVisible())
        return shown;
    shown.append(window);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isVisible() && w->window() == window)
            shown.append(w);
    }
    return shown;
}

} // namespace

void LayoutAudit::install()
{
    const QString path = qEnvironmentVariable("KNIT_LAYOUT_AUDIT");
    if (!path.isEmpty())
        qApp->installEventFilter(new LayoutAudit(path, qApp));
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
        for (const QString &f : findings(w) + overlaps(w)) {
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

QStringList LayoutAudit::overlaps(QWidget *window)
{
    QStringList found;
    for (QWidget *p : shownIn(window)) {
        QList<QWidget *> kids;
        for (QObject *o : p->children()) {
            auto *k = qobject_cast<QWidget *>(o);
            if (k && k->isVisible() && !k->isWindow() && !k->property(kOverlays).toBool())
                kids.append(k);
        }
        for (int i = 0; i < kids.size(); ++i) {
            for (int j = i + 1; j < kids.size(); ++j) {
                const QRect a = kids[i]->geometry(), b = kids[j]->geometry();
                // Neighbours drawn on a shared edge line are placed so: only more counts.
                const QRect both = a & b;
                if (both.width() > 1 && both.height() > 1 && !a.contains(b) && !b.contains(a))
                    found.append(QStringLiteral("overlap %1 and %2").arg(nameOf(kids[i]), nameOf(kids[j])));
            }
        }
    }
    return found;
}

QStringList LayoutAudit::findings(QWidget *window)
{
    QStringList found;
    for (QWidget *w : shownIn(window)) {
        // From the window's frame position: the panel's windows have no frame.
        const QRect onScreen(window->pos() + w->mapTo(window, QPoint(0, 0)), w->size());
        // An empty widget (a picture not loaded yet) shows nothing anywhere.
        if (!onScreen.isEmpty() && !kScreen.contains(onScreen))
            found.append(QStringLiteral("outside %1: %2,%3 %4x%5")
                             .arg(nameOf(w))
                             .arg(onScreen.x())
                             .arg(onScreen.y())
                             .arg(onScreen.width())
                             .arg(onScreen.height()));
        QString text;
        QSize room;
        if (!textAndRoom(w, &text, &room) || text.isEmpty())
            continue;
        const QSize needed = textSize(w, text);
        if (needed.width() > room.width() || needed.height() > room.height())
            found.append(QStringLiteral("cut %1: \"%2\" needs %3x%4 px, has %5x%6")
                             .arg(nameOf(w), QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n")))
                             .arg(needed.width())
                             .arg(needed.height())
                             .arg(room.width())
                             .arg(room.height()));
    }
    return found;
}
