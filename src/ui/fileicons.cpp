#include "fileicons.h"

#include <QPainter>
#include <QPolygon>

namespace {

QPixmap draw(void (*paint)(QPainter &))
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setPen(Qt::black);
    paint(painter);
    return p;
}

} // namespace

const QPixmap &FileIcons::file()
{
    static const QPixmap p = draw([](QPainter &g) {
        g.setBrush(Qt::white);
        g.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
        g.drawLine(10, 1, 10, 4);
        g.drawLine(10, 4, 13, 4);
    });
    return p;
}

const QPixmap &FileIcons::folder()
{
    static const QPixmap p = draw([](QPainter &g) {
        g.setBrush(QColor(240, 200, 60));
        g.drawRect(1, 4, 14, 10);
        g.drawRect(1, 2, 6, 2);
    });
    return p;
}

const QPixmap &FileIcons::current()
{
    static const QPixmap p = draw([](QPainter &g) {
        g.setBrush(Qt::red);
        g.setPen(Qt::darkRed);
        g.drawPolygon(QPolygon({QPoint(3, 2), QPoint(13, 8), QPoint(3, 14)}));
    });
    return p;
}
