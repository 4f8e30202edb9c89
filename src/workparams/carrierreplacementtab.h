#pragma once

#include <QWidget>

class MachineData;
class WorkGrid;
class SinglePieceCarrierPage;

// The carrier-replacement tab: the single-piece page while fewer than two pieces are
// expanded (system block word 22), else the multi-piece page, in the same place.
class CarrierReplacementTab : public QWidget
{
    Q_OBJECT

public:
    explicit CarrierReplacementTab(MachineData &machine, QWidget *parent = nullptr);
    SinglePieceCarrierPage *single() const { return one_; }
    WorkGrid *multi() const { return mul_; }

public Q_SLOTS:
    void clearKey();

Q_SIGNALS:
    void messageChanged(const QString &text);
    void parametersChanged();
    void changeWanted();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const MachineData &machine_;
    SinglePieceCarrierPage *one_;
    WorkGrid *mul_;
};
