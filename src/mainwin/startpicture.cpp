#include "startpicture.h"

#include "ui/palettes.h"
#include "ui/panelfonts.h"

#include <QPainter>

namespace {

// No text above this line of the screen: its top-right corner is a touch target's.
constexpr int kCornerHeight = 60;
constexpr int kMargin = 10;
constexpr int kMaxNameChars = 32;

// On the window's own colour, as the desktop area always was without a picture.
QColor stateColour(MachineState::Kind state)
{
    switch (state) {
    case MachineState::Kind::Knitting:
        return QColor(110, 255, 110);
    case MachineState::Kind::Offline:
        return QColor(255, 220, 0);
    case MachineState::Kind::Stopped:
        return palette_label_dark.color(QPalette::WindowText);
    case MachineState::Kind::Unknown:
        break;
    }
    return QColor(190, 190, 190);
}

QFont sized(int pixels, bool bold)
{
    QFont f = PanelFonts::panel();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

StartPicture::StartPicture(QWidget *parent)
    : QFrame(parent)
{
    setPalette(palette_label_dark);
    setAutoFillBackground(true);
}

void StartPicture::setPicture(const QString &path)
{
    picture_ = QPixmap(path);
    update();
}

void StartPicture::setMachine(const QString &name)
{
    machine_ = name.left(kMaxNameChars);
    update();
}

void StartPicture::setJob(const QString &job)
{
    job_ = job;
    update();
}

void StartPicture::setState(MachineState::Kind state)
{
    state_ = state;
    update();
}

void StartPicture::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (hasPicture())
        painter.fillRect(rect(), QBrush(picture_)); // tiled from the corner, as a background
    else
        drawOwn(painter);
}

void StartPicture::drawOwn(QPainter &painter)
{
    // Three lines about the middle, the middle itself left plain, all below the band of the
    // screen's top edge whose right end is kept free.
    const int top = qMax(0, kCornerHeight - mapTo(window(), QPoint(0, 0)).y());
    const int usable = height() - top;
    auto line = [&](double at, int pixels, bool bold, const QColor &colour, const QString &text) {
        painter.setFont(sized(pixels, bold));
        painter.setPen(colour);
        const QRect r(kMargin, top + int(at * usable) - pixels, width() - 2 * kMargin, 2 * pixels);
        painter.drawText(r, Qt::AlignCenter, painter.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
    };
    const QColor text = palette_label_dark.color(QPalette::WindowText);
    line(0.22, qMax(18, usable / 9), true, text, machine_);
    line(0.40, qMax(14, usable / 18), false, text, job_.isEmpty() ? QString() : tr("名 称: %1").arg(job_));
    line(0.72, qMax(16, usable / 12), true, stateColour(state_), MachineState::text(state_));
}
