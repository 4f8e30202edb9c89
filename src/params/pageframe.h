#pragma once

#include "paramframe.h"

// A frame holding a page of type Page, made in its group box.
template <class Page>
class PageFrame : public ParamFrame
{
public:
    Page *page() const { return static_cast<Page *>(grid()); }

protected:
    PageFrame(MachineData &machine, QWidget *parent, const char *name, const char *title, const char *boxText)
        : ParamFrame(parent, name, title, boxText)
    {
        setPage(new Page(machine, box()));
    }
};
