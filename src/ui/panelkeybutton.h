#pragma once

#include <QPushButton>

// A button of an on-screen key panel: beeps when released and never takes the focus, so the
// field being edited keeps it while the panel is touched.
class PanelKeyButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PanelKeyButton(QWidget *parent = nullptr, const char *name = nullptr);
    PanelKeyButton(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

    void setActive(unsigned char active) { active_ = active; }
    unsigned char activeState() const { return active_; }

private:
    unsigned char active_ = 0;
};
