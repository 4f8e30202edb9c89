#pragma once

#include <QPushButton>

// An item of MarkableListMenu: while it has the focus it shows the button-text palette if it is
// marked active, else the dark label palette.
class ListButtonNo : public QPushButton
{
    Q_OBJECT

public:
    explicit ListButtonNo(QWidget *parent = nullptr, const char *name = nullptr);

    void setActive(unsigned char active);
    unsigned char activeState() const { return active_; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showFocused();

    unsigned char active_ = 0;
    QPalette unfocused_; // restored when the focus leaves
    bool focused_ = false;
};
