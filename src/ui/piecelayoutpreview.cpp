#include "piecelayoutpreview.h"

#include <QEvent>
#include <QFrame>

PieceLayoutPreview::PieceLayoutPreview(QWidget *parent, const char *name)
    : QLabel(parent)
    , line_(new QFrame(this))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setText(tr("衣片分布预览"));
    setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    line_->setObjectName(QStringLiteral("Line1"));
    line_->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line_->setGeometry(10, 60, 580, 10);
    for (QLabel *&label : pieces_) {
        label = new QLabel(this);
        label->setObjectName(QStringLiteral("Frame4"));
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignCenter);
        label->hide();
    }
}

void PieceLayoutPreview::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setText(tr("衣片分布预览"));
    QLabel::changeEvent(event);
}

unsigned char PieceLayoutPreview::drawPieces(unsigned short start, unsigned short count, unsigned short spacing,
                                      unsigned short mask)
{
    if (bed_ == 0)
        return 0;
    const long long need = static_cast<long long>(piece_) * count + static_cast<long long>(spacing) * (count - 1) + start - 1;
    if (bed_ < need)
        return 0;
    for (QLabel *label : pieces_)
        label->hide();
    // Only eight labels exist; further copies still count for the fit but are not drawn.
    const int drawn = qMin<int>(count, kPieces);
    for (int i = 0; i < drawn; ++i) {
        const long long left = (static_cast<long long>(piece_ + spacing) * i + start) * kBedPixels / bed_ + 10;
        const long long width = static_cast<long long>(piece_) * kBedPixels / bed_;
        QLabel *label = pieces_[std::size_t(i)];
        label->setGeometry(int(left), 30, int(qMax(1LL, width)), 30);
        label->setText(QString::number(piece_));
        if (!(mask & (1u << i)))
            label->show();
    }
    return 1;
}
