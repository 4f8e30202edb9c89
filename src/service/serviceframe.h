#pragma once

#include "ui/screenframe.h"

#include <utility>

// The frame of a system tools page: title, message line and the page below the top band. The
// page is made with pageArgs before the frame as its parent.
template <class Page>
class ServiceFrame : public ScreenFrame
{
public:
    template <typename... PageArgs>
    ServiceFrame(QWidget *parent, const char *name, const QString &message, PageArgs &&...pageArgs)
        : ScreenFrame(parent, name)
    {
        setTitleLine(QStringLiteral("Controller Parameter Setting"));
        setMessageLine(message);
        page_ = new Page(std::forward<PageArgs>(pageArgs)..., this);
        page_->setGeometry(0, 50, 640, 430);
    }
    Page *page() const { return page_; }

private:
    Page *page_;
};
