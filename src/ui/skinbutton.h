#pragma once

#include <QPushButton>

// A picture key whose look (lit amber when active, dark slate otherwise) is set by the program only: a
// press acts through released() but never changes the look, so a key shows the controller's
// state even when its command was refused or not answered.
class SkinButton : public QPushButton
{
    Q_OBJECT

public:
    explicit SkinButton(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

    void setActive(bool active) { setChecked(active); }
    bool activeState() const { return isChecked(); }

protected:
    void nextCheckState() override {}
    void paintEvent(QPaintEvent *event) override;
};
