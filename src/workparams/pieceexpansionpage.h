#pragma once

#include <QList>
#include <QWidget>

#include <array>

class MachineData;
class CellEdit;
class QLabel;
class CarrierStartStrip;
class EnterCheckBox;
class PieceLayoutPreview;

// Piece expansion: the start needle, the number of pieces and their spacing (system block words
// 0, 22, 23), checked against the needle bed before they are sent, and the enable boxes whose
// mask (word 24) leaves pieces out; the layout preview and the carrier start strip follow.
class PieceExpansionPage : public QWidget
{
    Q_OBJECT

public:
    enum Field { Start, Pieces, Spacing, FieldCount };
    static constexpr int kPieces = 8;

    explicit PieceExpansionPage(MachineData &machine, QWidget *parent = nullptr);

    CellEdit *editor(Field f) const { return editors_[std::size_t(f)]; }
    EnterCheckBox *box(int i) const { return boxes_[std::size_t(i)]; }
    PieceLayoutPreview *preview() const { return preview_; }
    CarrierStartStrip *strip() const { return strip_; }
    // Bit i set for every piece i < count whose box is off.
    unsigned short offMask(int count) const;

public Q_SLOTS:
    void reloadFields();
    void confirmStart() { confirm(Start); }
    void confirmPieces() { confirm(Pieces); }
    void confirmSpacing() { confirm(Spacing); }
    void sendPieceMask();
    void clearKey();

Q_SIGNALS:
    void messageChanged(const QString &text);
    void parametersChanged();
    void changeWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void confirm(Field f);
    void restore(Field f);
    void redraw();
    void setBoxes();
    void focusField(int field, int box = 0);
    QString helpOf(int field) const;

    MachineData &machine_;
    std::array<QLabel *, FieldCount> labels_{};
    std::array<CellEdit *, FieldCount> editors_{};
    std::array<EnterCheckBox *, kPieces> boxes_{};
    PieceLayoutPreview *preview_;
    CarrierStartStrip *strip_;
    int field_ = Start; // FieldCount: the boxes
    int box_ = 0;
};
