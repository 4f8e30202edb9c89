#pragma once

#include "ui/mydialog.h"

// The frame of a system tools page: title, message line and the page below the top band.
template <class Page>
class ServiceFrame : public MyDialog
{
public:
    ServiceFrame(QWidget *parent, const char *name, const QString &message)
        : MyDialog(parent, name)
    {
        setdialogtitle(QStringLiteral("Controller Parameter Setting"));
        setdialogmsg(message);
        page_ = new Page(this);
        page_->setGeometry(0, 50, 640, 430);
    }
    Page *page() const { return page_; }

private:
    Page *page_;
};
