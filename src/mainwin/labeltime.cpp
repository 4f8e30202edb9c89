#include "labeltime.h"

#include "platform/systemactions.h"
#include "ui/panelfonts.h"

#include <QPainter>
#include <QPalette>
#include <QTime>

namespace {
constexpr int kMarkRadius = 3;
}

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

void LabelTime::setLink(LinkState state)
{
    if (state == link_)
        return;
    link_ = state;
    update();
}

QPoint LabelTime::markCentre() const
{
    return QPoint(width() - kMarkRadius - 3, kMarkRadius + 3);
}

QColor LabelTime::markColour(LinkState state)
{
    switch (state) {
    case LinkState::Online:
        return QColor(0, 200, 0);
    case LinkState::Connecting:
        return QColor(255, 170, 0);
    case LinkState::Refused:
        return QColor(230, 0, 0);
    case LinkState::Off:
        break;
    }
    return QColor();
}

void LabelTime::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (link_ == LinkState::Off)
        return;
    // A dot for online, a ring while it connects or waits to try again, a square when refused.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor c = markColour(link_);
    const QRect r(markCentre() - QPoint(kMarkRadius, kMarkRadius), QSize(2 * kMarkRadius + 1, 2 * kMarkRadius + 1));
    p.setPen(c);
    p.setBrush(link_ == LinkState::Connecting ? Qt::NoBrush : QBrush(c));
    if (link_ == LinkState::Refused)
        p.drawRect(r.adjusted(0, 0, -1, -1));
    else
        p.drawEllipse(r.adjusted(0, 0, -1, -1));
}
