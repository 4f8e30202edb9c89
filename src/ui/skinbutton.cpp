#include "skinbutton.h"

#include <QPainter>

namespace {

// Lit: a lamp colour with dark text; dark: slate with pale text. Told apart at a glance, also
// on a worn panel in a bright mill.
const QColor kLitFace(255, 196, 32);
const QColor kLitText(40, 24, 0);
const QColor kDarkFace(64, 70, 86);
const QColor kDarkText(200, 204, 214);
const QColor kEdge(20, 20, 24);

} // namespace

SkinButton::SkinButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void SkinButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = isChecked();
    // A held key sinks by a pixel, as a pressed key does.
    const QRectF face = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5).translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
    p.setPen(QPen(kEdge, 1.5));
    p.setBrush(lit ? kLitFace : kDarkFace);
    p.drawRoundedRect(face, 6, 6);
    p.setPen(lit ? kLitText : kDarkText);
    p.setFont(font());
    p.drawText(face, Qt::AlignCenter | Qt::TextWordWrap, text());
}
