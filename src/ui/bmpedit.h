#pragma once

#include "ui/screenframe.h"

class BmpPicture;

// The full-screen page that shows one picture file.
class BmpEdit : public ScreenFrame
{
    Q_OBJECT

public:
    explicit BmpEdit(const QString &path, QWidget *parent = nullptr, const char *name = nullptr);

    // Shows the page modally for path and deletes it when closed.
    static void openFile(const QString &path, QWidget *parent);
    BmpPicture *view() const { return picture_; }

private:
    BmpPicture *picture_;
};
