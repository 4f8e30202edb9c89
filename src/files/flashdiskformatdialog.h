#pragma once

#include "diskformatpage.h"

#include "logic/files/flashdiskformat.h"

// The flash disk's formatting page: "E.硬盘格式化" (E) formats it keeping the program and its
// settings, "M.硬盘修复" (M) checks and repairs it; each asks first and logs every step.
class FlashDiskFormatDialog : public DiskFormatPage
{
    Q_OBJECT

public:
    explicit FlashDiskFormatDialog(QWidget *parent = nullptr);


public Q_SLOTS:
    void ready();
    void repairDisk();

private:
    FlashDiskFormat chain_;
};
