#include "startpicture.h"

#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/touchlabel.h"

#include <QEvent>
#include <QPainter>

namespace {

// No text above this line of the screen: its top-right corner is a touch target's.
constexpr int kCornerHeight = 60;
constexpr int kMargin = 10;
constexpr int kMaxNameChars = 32;
constexpr int kTargetWidth = 150;
constexpr int kTargetHeight = 30;
constexpr int kLargePixels = 24;
constexpr int kSmallPixels = 16;

// On the window's own colour, as the desktop area always was without a picture.
QColor stateColour(MachineState::Kind state)
{
    switch (state) {
    case MachineState::Kind::Knitting:
        return QColor(110, 255, 110);
    case MachineState::Kind::Offline:
        return QColor(255, 220, 0);
    case MachineState::Kind::Stopped:
        return PanelPalettes().labelDark().color(QPalette::WindowText);
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
    setPalette(PanelPalettes().labelDark());
    setAutoFillBackground(true);
    languages_ = new TouchLabel(this, "languages");
    languages_->setFont(sized(16, true));
    languages_->setAlignment(Qt::AlignCenter);
    languages_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    languages_->setClickable(true);
}

void StartPicture::setLanguages(const QStringList &names)
{
    languages_->setText(names.join(QStringLiteral(" / ")));
}

void StartPicture::changeEvent(QEvent *event)
{
    // The state and the job's caption are drawn in the operator's language.
    if (event->type() == QEvent::LanguageChange)
        update();
    QFrame::changeEvent(event);
}

void StartPicture::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    languages_->setGeometry(width() - kMargin / 2 - kTargetWidth, kMargin / 2, kTargetWidth, kTargetHeight);
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
    // Sizes the main screen uses anyway: each further size would cost start-up a font engine
    // and the rasterising of its glyphs.
    const QColor text = PanelPalettes().labelDark().color(QPalette::WindowText);
    line(0.22, kLargePixels, true, text, machine_);
    line(0.40, kSmallPixels, false, text, job_.isEmpty() ? QString() : tr("名 称: %1").arg(job_));
    line(0.72, kLargePixels, true, stateColour(state_), MachineState::text(state_));
}
