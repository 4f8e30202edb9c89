#include "pagekeys.h"

#include "ui/keypadkeybutton.h"
#include "ui/panelpalettes.h"

PageKeys::PageKeys(QWidget *parent, const QRect &geometry, int keyHeight, int step)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("pagekeys"));
    setGeometry(geometry);
    const struct { const char *text; int key; } keys[] = {
        //: Narrow upright key, 48 px wide: give the English its own line breaks.
        {QT_TR_NOOP("上一页"), Qt::Key_PageUp},
        {QT_TR_NOOP("上一个"), Qt::Key_Up},
        {QT_TR_NOOP("下一个"), Qt::Key_Down},
        {QT_TR_NOOP("下一页"), Qt::Key_PageDown}};
    int y = 0;
    for (const auto &k : keys) {
        auto *b = new KeypadKeyButton(this, "multibutton", k.key);
        // Characters stand one under another; a text that breaks its own lines keeps them.
        const QString text = tr(k.text);
        b->setText(text.contains(QLatin1Char('\n')) ? text : text.split(QString()).join(QLatin1Char('\n')).trimmed());
        b->setGeometry(0, y, 48, keyHeight);
        b->setPalette(PanelPalettes().buttonDark());
        y += step;
    }
}
