#pragma once

#include "diskformatpage.h"
#include "stickformat.h"

// The USB stick formatting page: "E. U盘格式化" (E) asks, then formats the stick and shows
// each step's result and the stick's capacity.
class UDiskFormatDialog : public DiskFormatPage
{
    Q_OBJECT

public:
    explicit UDiskFormatDialog(QWidget *parent = nullptr);

    // Builds the page, runs it modally and deletes it: what the system tools menu calls.
    static void run(QWidget *parent);

public slots:
    void ready();

private:
    StickFormat chain_;
};
