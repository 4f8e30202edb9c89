#include "bmppicture.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

BmpPicture::BmpPicture(QWidget *parent, const char *name)
    : QScrollArea(parent)
    , picture_(new QLabel)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    picture_->setObjectName(QStringLiteral("picture"));
    setWidget(picture_);
    connect(keyButton("cmdleft", Qt::Key_Left), &QPushButton::clicked, this, &BmpPicture::scrollLeft);
    connect(keyButton("cmdright", Qt::Key_Right), &QPushButton::clicked, this, &BmpPicture::scrollRight);
    connect(keyButton("cmdup", Qt::Key_Up), &QPushButton::clicked, this, &BmpPicture::scrollUp);
    connect(keyButton("cmddown", Qt::Key_Down), &QPushButton::clicked, this, &BmpPicture::scrollDown);
}

QPushButton *BmpPicture::keyButton(const char *name, Qt::Key key)
{
    // Zero-sized: only the accelerator reaches it.
    auto *button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(0, 0, 0, 0);
    button->setShortcut(QKeySequence(key));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

bool BmpPicture::openFile(const QString &path)
{
    QPixmap image;
    const bool ok = image.load(path);
    picture_->setPixmap(ok ? image : QPixmap());
    picture_->resize(ok ? image.size() : QSize(0, 0));
    return ok;
}

void BmpPicture::scrollLeft()
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - horizontalScrollBar()->pageStep());
}

void BmpPicture::scrollRight()
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + horizontalScrollBar()->pageStep());
}

void BmpPicture::scrollUp()
{
    verticalScrollBar()->setValue(verticalScrollBar()->value() - verticalScrollBar()->pageStep());
}

void BmpPicture::scrollDown()
{
    verticalScrollBar()->setValue(verticalScrollBar()->value() + verticalScrollBar()->pageStep());
}
