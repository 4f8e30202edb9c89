#include "pattopicture.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

PatToPicture::PatToPicture(QWidget *parent, const char *name)
    : QScrollArea(parent)
    , picture_(new QLabel)
    , marker_(new QLabel(picture_))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picture_->setObjectName(QStringLiteral("picture"));
    marker_->setObjectName(QStringLiteral("marker"));
    QPalette pal = marker_->palette();
    pal.setColor(QPalette::Window, Qt::red);
    marker_->setPalette(pal);
    marker_->setAutoFillBackground(true);
    marker_->hide();
    setWidget(picture_);
    flash_.setInterval(kFlashMs);
    connect(&flash_, &QTimer::timeout, this, &PatToPicture::blinkMarker);
}

void PatToPicture::openPatternPicture(const QString &path)
{
    loaded_ = QFileInfo(path).isFile();
    QPixmap image;
    if (loaded_ && !image.load(path))
        image = QPixmap();
    picture_->setPixmap(image);
    picture_->resize(image.size());
    marker_->hide();
    flashWhileSeen();
    QTimer::singleShot(0, this, &PatToPicture::scrollToStart);
}

void PatToPicture::flashWhileSeen()
{
    // The flash timer runs only while there is a line to flash and someone to see it: the
    // main screen keeps the picture hidden most of the time, and a hidden flash only wakes it.
    if (loaded_ && isVisible())
        flash_.start();
    else
        flash_.stop();
}

void PatToPicture::showEvent(QShowEvent *event)
{
    QScrollArea::showEvent(event);
    flashWhileSeen();
}

void PatToPicture::hideEvent(QHideEvent *event)
{
    QScrollArea::hideEvent(event);
    flashWhileSeen();
}

void PatToPicture::scrollToStart()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    scrollToLine(1);
}

void PatToPicture::scrollToLine(int line)
{
    if (!loaded_ || isHidden())
        return;
    const int height = picture_->height();
    verticalScrollBar()->setValue(height - line - viewport()->height() / 2);
    // The line spans the picture's width; one pixel high on image row (height - line).
    marker_->setGeometry(0, height - line, picture_->width(), 1);
}

void PatToPicture::blinkMarker()
{
    if (!loaded_)
        return;
    marker_->setVisible(marker_->isHidden());
}

void PatToPicture::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->position().toPoint();
    QScrollArea::mousePressEvent(event);
}

void PatToPicture::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint travel = event->position().toPoint() - pressed_;
    if (qAbs(travel.x()) > kDragSlack)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - travel.x());
    if (qAbs(travel.y()) > kDragSlack)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - travel.y());
    QScrollArea::mouseReleaseEvent(event);
}
