#pragma once

#include <QPushButton>

// An item of ListMenu: shows the dark label palette while it has the focus.
class ListButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ListButton(QWidget *parent = nullptr, const char *name = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPalette unfocused_; // restored when the focus leaves
    bool focused_ = false;
};
