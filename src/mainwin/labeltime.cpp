#include "labeltime.h"

#include "platform/systemactions.h"
#include "ui/panelfonts.h"

#include <QPalette>
#include <QTime>

LabelTime::LabelTime(QWidget *parent, const char *name, Qt::WindowFlags flags)
    : QLabel(parent, flags)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    QFont font = PanelFonts::edit();
    font.setPointSize(16);
    font.setBold(false);
    setFont(font);
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setLineWidth(0);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &LabelTime::timeout);
    timer_.start();
    timeout();
}

QString LabelTime::timeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

void LabelTime::timeout()
{
    setText(timeText(SystemActions::now().time()));
}
