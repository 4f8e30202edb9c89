#pragma once

#include <QFrame>

class QAbstractButton;
class QButtonGroup;

// A frame holding a group of buttons that beeps whenever one of them is released and reports
// it by its id.
class BeepingButtonGroup : public QFrame
{
    Q_OBJECT

public:
    explicit BeepingButtonGroup(QWidget *parent = nullptr, const char *name = nullptr);

    void insert(QAbstractButton *button, int id);
    QAbstractButton *find(int id) const;
    QButtonGroup *group() const { return group_; }
    // Off for groups of buttons that beep themselves (PanelKeyButton), so a touch beeps once.
    void setBeeping(bool on) { beeping_ = on; }

Q_SIGNALS:
    void released(int id);

private:
    QButtonGroup *group_;
    bool beeping_ = true;
};
