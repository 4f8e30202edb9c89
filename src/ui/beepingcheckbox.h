#pragma once

#include <QCheckBox>

// A check box that beeps when clicked; starts "active" (the mark pages use for a selection).
class BeepingCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit BeepingCheckBox(QWidget *parent = nullptr, const char *name = nullptr);
    BeepingCheckBox(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

    void setActive(unsigned char active) { active_ = active; }
    unsigned char activeState() const { return active_; }

private:
    unsigned char active_ = 1;
};
