#include "bmpedit.h"

#include "bmppicture.h"

#include <QFileInfo>

BmpEdit::BmpEdit(const QString &path, QWidget *parent, const char *name)
    : ScreenFrame(parent, name)
    , picture_(new BmpPicture(this, "BmpPicture"))
{
    setTitleLine(QStringLiteral("Picture File Browse Tools"));
    setMessageLine(tr("图片文件浏览工具 - %1").arg(QFileInfo(path).fileName()));
    picture_->setGeometry(10, 55, 620, 415);
    picture_->openFile(path);
    connect(picture_, &BmpPicture::closeRequested, this, &ScreenFrame::closePage);
}

void BmpEdit::openFile(const QString &path, QWidget *parent)
{
    auto *page = new BmpEdit(path, parent);
    page->exec();
    delete page;
}
