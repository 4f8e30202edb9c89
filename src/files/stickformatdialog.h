#pragma once

#include "diskformatpage.h"

#include "logic/files/stickformat.h"

// The USB stick formatting page: "E. U盘格式化" (E) asks, then formats the stick and shows
// each step's result and the stick's capacity.
class StickFormatDialog : public DiskFormatPage
{
    Q_OBJECT

public:
    explicit StickFormatDialog(QWidget *parent = nullptr);


public Q_SLOTS:
    void ready();

private:
    StickFormat chain_;
};
