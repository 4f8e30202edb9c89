#pragma once

#include <QLabel>

#include <array>

class QFrame;

// The piece-layout preview of the piece-expansion page: where the copies of a piece lie on
// the needle bed, drawn 580 pixels wide.
class PieceLayoutPreview : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kPieces = 8;
    static constexpr int kBedPixels = 580;

    explicit PieceLayoutPreview(QWidget *parent = nullptr, const char *name = nullptr);

    void setBedWidth(unsigned short needles) { bed_ = needles; }
    void setPieceWidth(unsigned short needles) { piece_ = needles; }
    unsigned short bedWidth() const { return bed_; }
    unsigned short pieceWidth() const { return piece_; }

    // 1 when drawn; 0 when the bed is unknown or the pieces do not fit (nothing redrawn).
    unsigned char drawPieces(unsigned short start, unsigned short count, unsigned short spacing, unsigned short mask);
    QLabel *piece(int i) const { return pieces_[std::size_t(i)]; }

protected:
    void changeEvent(QEvent *event) override;

private:
    unsigned short bed_ = 0;
    unsigned short piece_ = 0;
    QFrame *line_;
    std::array<QLabel *, kPieces> pieces_{};
};
