#pragma once

#include <QPushButton>

// A push button that beeps when released and holds the "active" mark pages use for the
// selected button of a row.
class BeepingButton : public QPushButton
{
    Q_OBJECT

public:
    explicit BeepingButton(QWidget *parent = nullptr, const char *name = nullptr);
    BeepingButton(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

    void setActive(unsigned char active) { active_ = active; }
    unsigned char activeState() const { return active_; }

private:
    unsigned char active_ = 0;
};
