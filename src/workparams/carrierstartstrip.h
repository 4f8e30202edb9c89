#pragma once

#include <QWidget>

#include <array>

class MachineData;
class QLabel;

// The carrier start-position strip: a label and two groups of eight numbered labels, those of
// the carriers that start at the left darkened in the left group, at the right in the right.
class CarrierStartStrip : public QWidget
{
    Q_OBJECT

public:
    // The strip of machine's program and settings.
    explicit CarrierStartStrip(const MachineData &machine, QWidget *parent = nullptr);
    void showStarts();
    QLabel *label(bool right, int carrier) const { return (right ? right_ : left_)[std::size_t(carrier)]; }
    bool isDark(bool right, int carrier) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    const MachineData &machine_;
    QLabel *title_;
    std::array<QLabel *, 8> left_{};
    std::array<QLabel *, 8> right_{};
};
