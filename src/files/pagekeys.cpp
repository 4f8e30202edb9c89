#include "pagekeys.h"

#include "ui/multibutton.h"
#include "ui/palettes.h"

PageKeys::PageKeys(QWidget *parent, const QRect &geometry, int keyHeight, int step)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("pagekeys"));
    setGeometry(geometry);
    const struct { const char *text; int key; } keys[] = {
        {"上一页", Qt::Key_PageUp}, {"上一个", Qt::Key_Up}, {"下一个", Qt::Key_Down}, {"下一页", Qt::Key_PageDown}};
    int y = 0;
    for (const auto &k : keys) {
        auto *b = new multibutton(this, "multibutton", k.key);
        b->setText(QString::fromUtf8(k.text).split(QString()).join(QLatin1Char('\n')).trimmed());
        b->setGeometry(0, y, 48, keyHeight);
        b->setPalette(palette_button_dark);
        y += step;
    }
}
