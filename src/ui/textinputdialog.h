#pragma once

#include "screenframe.h"

class QLineEdit;

// The text-input page: the frame with one edit field; Return accepts, the close button and
// Escape reject, and every change of the text beeps.
class TextInputDialog : public ScreenFrame
{
    Q_OBJECT

public:
    explicit TextInputDialog(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true);

    QLineEdit *lineEdit() const { return edit_; }
    // The field's text, never null: an empty field gives an empty, non-null string.
    QString text() const;

public Q_SLOTS:
    void clearPage() override; // empties the field

private:
    QLineEdit *edit_;
};
