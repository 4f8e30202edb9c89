#include "touchcalibration.h"

#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"
#include "ui/panelfonts.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const char kInconsistent[] = QT_TRANSLATE_NOOP("TouchCalibration", "校正数据不一致, 请重新校正 !");

// The calibration the touches arrive through. The panel build's touch driver applies the
// current file, so the fit is composed with it to describe the raw touch; the host's mouse is
// raw already.
CalibrationFit::Coefficients current()
{
#ifdef KNIT_PANEL_BUILD
    QFile file(PanelPaths::pointercal());
    CalibrationFit::Coefficients k;
    if (file.open(QIODevice::ReadOnly) && CalibrationFit::parse(file.read(256), &k))
        return k;
#endif
    return CalibrationFit::identity();
}

} // namespace

TouchCalibration::TouchCalibration(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TouchCalibration"));
    setModal(true);
    setGeometry(0, 0, 640, 480);
    setFocusPolicy(Qt::StrongFocus);
}

void TouchCalibration::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.setFont(PanelFonts::panel(16));
    p.drawText(QRect(0, 150, 640, 30), Qt::AlignCenter, tr("请依次点击十字中心 ( 共 5 点 ) , 按 < X > 退出"));
    if (!message_.isEmpty()) {
        p.setPen(Qt::red);
        p.drawText(QRect(0, 300, 640, 30), Qt::AlignCenter, message_);
    }
    const QPointF c = CalibrationFit::crosses()[std::size_t(step_)];
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(c - QPointF(15, 0), c + QPointF(15, 0));
    p.drawLine(c - QPointF(0, 15), c + QPointF(0, 15));
    p.drawEllipse(c, 7, 7);
}

void TouchCalibration::mousePressEvent(QMouseEvent *)
{
    pressed_ = true;
}

void TouchCalibration::mouseReleaseEvent(QMouseEvent *event)
{
    if (!pressed_)
        return;
    pressed_ = false;
    buzzer(kKeyBeepMs);
    raw_[std::size_t(step_)] = event->position();
    message_.clear();
    if (++step_ < CalibrationFit::kPoints) {
        update();
        return;
    }
    finish(raw_);
}

void TouchCalibration::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_X) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TouchCalibration::restart(const QString &message)
{
    step_ = 0;
    message_ = message;
    update();
}

bool TouchCalibration::finish(const std::array<QPointF, CalibrationFit::kPoints> &raw)
{
    CalibrationFit::Coefficients k;
    if (!CalibrationFit::fit(raw, &k)) {
        restart(tr(kInconsistent));
        return false;
    }
    const QString path = PanelPaths::pointercal();
    FsOps::makeDir(QFileInfo(path).absolutePath());
    if (!AtomicFile::save(path, CalibrationFit::line(CalibrationFit::compose(k, current())))) {
        restart(tr("保存触摸屏校正数据失败, 请重新校正 !"));
        return false;
    }
    accept();
    return true;
}
