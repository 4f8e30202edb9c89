#include "dottedlabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace {

const QString kDots = QString(60, QLatin1Char('.'));

} // namespace

DottedLabel::DottedLabel(const QString &text, QWidget *parent)
    : QLabel(text + kDots, parent)
    , text_(text)
{
    // The dots take what the column leaves; a long label never widens the grid.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(20);
}

int DottedLabel::pixelSize() const
{
    return font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
}

void DottedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fit();
}

void DottedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // The page's font arrives after the label is made; the fit starts again from it.
    if (event->type() == QEvent::FontChange && !fitting_)
        fit();
}

void DottedLabel::fit()
{
    const QWidget *page = parentWidget();
    if (!page || text_.isEmpty())
        return;
    const int room = contentsRect().width() - 2 * margin();
    QFont f = page->font();
    int size = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    f.setPixelSize(size);
    while (size > kSmallestPixels && QFontMetrics(f).horizontalAdvance(text_) > room)
        f.setPixelSize(--size);
    if (f == font())
        return;
    fitting_ = true;
    setFont(f);
    fitting_ = false;
}
