#include "wave.h"

#include "data/parainit.h"
#include "platform/panelpaths.h"

wave::wave(QWidget *parent, const char *name, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("wave"));
    checkresult = 0;
    const QSize hint = minimumSizeHint();
    resize(qMax(640, hint.width()), qMax(480, hint.height()));
    PanelPaths::ensureLayout();
    initpara();
    setFocusPolicy(Qt::StrongFocus);
}

void wave::initpara()
{
    initworkparam();
    initsystemparam();
    initelseparam();
}
