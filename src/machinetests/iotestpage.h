#pragma once

#include "ui/screenframe.h"

#include <array>

class ControllerTest;
class MachineData;
class QLineEdit;
class QTimer;
class IoTestKeys;

// The input/output test page: twelve outputs that the keys drive directly, the 26 inputs,
// the carriage speed, the needle-signal count, the last key and the link state, refreshed
// every 100 ms. It is open while the controller is in its input/output test mode: closing
// asks the controller to leave the mode, and the page goes when the controller answers.
class IoTestPage : public ScreenFrame
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 100;

    explicit IoTestPage(MachineData &machine, QWidget *parent = nullptr);

    // Drives output index to value; nothing is awaited, the controller's report shows it.
    void driveOutput(int index, unsigned short value);

    int row() const { return row_; }
    int column() const { return column_; }
    QLineEdit *field(int row, int column) const;
    QLabel *inputLabel(int input) const;
    QLabel *speedLabel() const { return status_[0]; }
    QLabel *needleLabel() const { return status_[1]; }
    QLabel *keyLabel() const { return status_[2]; }
    QLabel *linkLabel() const { return status_[3]; }
    IoTestKeys *keyPanel() const { return panel_; }

public Q_SLOTS:
    // The clear button and Backspace: the field shows its stored value again.
    void clearPage() override;
    // The close button and Escape: the leave command; the page stays until it is answered.
    void reject() override;
    void refreshStates();

Q_SIGNALS:
    void panelCodeChanged(int number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void build();
    bool handleKey(int key); // false: the key goes on into the number field
    bool carriageRunning() const;
    void stopCarriageFirst();
    void moveTo(int row, int column);
    void redraw(int row, int column);
    void onReport(const QByteArray &report);

    MachineData &machine_;
    std::array<QLineEdit *, 12> fields_{};
    std::array<QLabel *, 26> inputs_{};
    std::array<int, 26> shownInputs_{};
    std::array<QLabel *, 4> status_{}; // speed, needle-signal count, key code, link
    int shownSpeed_ = -1;
    int row_ = 0;
    int column_ = 0;
    int direction_ = -1; // the carriage direction the field shows; -1 before it shows one
    ControllerTest *controller_;
    QTimer *timer_;
    IoTestKeys *panel_;
};
