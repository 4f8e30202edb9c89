#pragma once

#include "logic/editors/patgrid.h"
#include "logic/editors/patstore.h"

#include <QImage>
#include <QLabel>
#include <QPoint>

#include <array>

// The pattern editor's drawing and cursor widget: one page of the pattern as coloured
// hexadecimal digits, the cursor, touches and swipes; changes go through PatStore.
class PatLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kSwipe = 100; // pixels of travel that turn a page

    explicit PatLabel(QWidget *parent = nullptr, const char *name = nullptr);

    bool loadPattern(const QString &path, int cell_width, int cell_height);
    bool loaded() const { return loaded_; }
    const PatGrid &grid() const { return grid_; }
    const PatStore &store() const { return store_; }
    unsigned char pending() const { return pending_; }

    void redrawPage();
    void direct(int code);
    void setCursorAt(int x, int y);
    void setByte(unsigned char value);
    // Empty when the pending byte was stored, else the message to show.
    QString enterByte(bool live);
    QString fillLine(unsigned char value, bool live);
    void findLine(unsigned int line);
    void findColumn(unsigned int column);
    bool savePattern() const;

    static QColor colour(int value);

public Q_SLOTS:
    void scheduleRedraw();

Q_SIGNALS:
    void cellChanged(int line, int column, unsigned char value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void drawCell(int column, int half, int line, bool cursor);
    void drawCursor();
    QRect cellRect(int column, int half, int line) const;
    void makeGlyphs();

    PatStore store_;
    PatGrid grid_;
    bool loaded_ = false;
    unsigned char pending_ = 0;
    QImage page_;
    // Each digit pre-drawn in its colour and in black, so a page is blits, not text layout.
    std::array<QImage, 32> glyphs_;
    int glyphBaseline_ = 0;
    QPoint drawn_{-1, -1}; // cell the cursor was last drawn on (column * 2 + half, line)
    QPoint press_;
};
