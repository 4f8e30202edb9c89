#pragma once

#include <QWidget>

#include <array>

class BeepingSpinBox;
class QLabel;
class QTimer;

// The controller time page: the panel's clock, refreshed every second, and six boxes (year to
// second) preset to now; LEFT and RIGHT move between them, Enter sets the clock.
class ClockPage : public QWidget
{
    Q_OBJECT

public:
    explicit ClockPage(QWidget *parent = nullptr, const char *name = "clockpage");

    BeepingSpinBox *box(int i) const { return boxes_[std::size_t(i)]; }
    int focusIndex() const { return focus_; }

public Q_SLOTS:
    void previousBox();
    void nextBox();
    void setClock();
    void refreshClock();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusBox(int i);

    QLabel *label_;
    QTimer *timer_;
    std::array<BeepingSpinBox *, 6> boxes_{};
    int focus_ = 0;
};
