#include "patlabel.h"

#include "data/stitchcolours.h"
#include "ui/panelfonts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

PatLabel::PatLabel(QWidget *parent, const char *name)
    : QLabel(parent)
{
    setObjectName(QString::fromLatin1(name ? name : "context"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
}

QColor PatLabel::colour(int value)
{
    return QColor::fromRgb(StitchColours::rgb(value));
}

bool PatLabel::loadPattern(const QString &path, int cell_width, int cell_height)
{
    loaded_ = false;
    if (!store_.load(path))
        return false;
    const PatPixels &p = store_.pixels();
    grid_.layout(contentsRect().width(), contentsRect().height(), cell_width, cell_height, p.lineBytes(), p.height());
    makeGlyphs();
    loaded_ = true;
    redrawPage();
    return true;
}

void PatLabel::makeGlyphs()
{
    QFont font = PanelFonts::panel(qBound(6, grid_.cw + 2, 12));
    font.setBold(true);
    const int w = grid_.cw + 6;
    const int h = grid_.ch + 6;
    glyphBaseline_ = h - 4;
    for (int i = 0; i < 32; ++i) {
        QImage glyph(w, h, QImage::Format_ARGB32_Premultiplied);
        glyph.fill(Qt::transparent);
        QPainter p(&glyph);
        p.setFont(font);
        p.setPen(i < 16 ? colour(i) : QColor(Qt::black));
        p.drawText(0, glyphBaseline_, QString::number(i & 0x0f, 16).toUpper());
        glyphs_[std::size_t(i)] = glyph;
    }
}

QRect PatLabel::cellRect(int column, int half, int line) const
{
    const QPoint at = grid_.digitAt(column, half, line, page_.height());
    return {at.x() - 2, at.y() - grid_.ch + 2, grid_.cw, grid_.ch};
}

void PatLabel::redrawPage()
{
    if (!loaded_)
        return;
    page_ = QImage(contentsRect().size(), QImage::Format_RGB32);
    page_.fill(Qt::white);
    grid_.clampCursor();
    QPainter p(&page_);
    const int columns = grid_.visibleColumns();
    const int lines = grid_.visibleLines();
    for (int j = 0; j < lines; ++j) {
        const int line = grid_.pageUp * grid_.linesPerPage + j;
        for (int c = 0; c < columns; ++c) {
            const unsigned char b = store_.byte(line, grid_.pageAcross * grid_.columnsPerPage + c);
            for (int h = 0; h < 2; ++h) {
                const QPoint at = grid_.digitAt(c, h, j, page_.height());
                p.drawImage(at.x(), at.y() - glyphBaseline_, glyphs_[std::size_t(h == 0 ? b >> 4 : b & 0x0f)]);
            }
        }
    }
    p.end();
    drawn_ = {-1, -1};
    drawCursor();
    update();
}

void PatLabel::drawCell(int column, int half, int line, bool cursor)
{
    const unsigned char b = store_.byte(grid_.pageUp * grid_.linesPerPage + line,
                                        grid_.pageAcross * grid_.columnsPerPage + column);
    const int value = half == 0 ? b >> 4 : b & 0x0f;
    const QRect rect = cellRect(column, half, line);
    QPainter p(&page_);
    p.fillRect(rect, Qt::white);
    if (cursor) {
        p.setPen(Qt::red);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    const QPoint at = grid_.digitAt(column, half, line, page_.height());
    p.drawImage(at.x(), at.y() - glyphBaseline_, glyphs_[std::size_t(value + (cursor ? 16 : 0))]);
    update(rect.translated(contentsRect().topLeft()));
}

void PatLabel::drawCursor()
{
    if (drawn_.x() >= 0)
        drawCell(drawn_.x() / 2, drawn_.x() % 2, drawn_.y(), false);
    drawCell(grid_.cursorColumn, grid_.half, grid_.cursorLine, true);
    drawn_ = {grid_.cursorColumn * 2 + grid_.half, grid_.cursorLine};
    pending_ = store_.byte(grid_.line(), grid_.byteIndex());
    const int column = grid_.byteIndex() * 2 + grid_.half;
    Q_EMIT cellChanged(grid_.line() + 1, column + 1,
                       static_cast<unsigned char>(grid_.half == 0 ? pending_ >> 4 : pending_ & 0x0f));
}

void PatLabel::scheduleRedraw()
{
    QTimer::singleShot(100, this, &PatLabel::redrawPage);
}

void PatLabel::direct(int code)
{
    if (!loaded_)
        return;
    if (grid_.direct(code))
        redrawPage();
    else
        drawCursor();
}

void PatLabel::setCursorAt(int x, int y)
{
    if (loaded_ && grid_.setCursorAt(x, y))
        drawCursor();
}

void PatLabel::setByte(unsigned char value)
{
    pending_ = grid_.half == 0 ? static_cast<unsigned char>((pending_ & 0x0f) | (value << 4))
                               : static_cast<unsigned char>((pending_ & 0xf0) | (value & 0x0f));
}

QString PatLabel::enterByte(bool live)
{
    if (!loaded_)
        return {};
    const QString message = store_.enter(grid_.line(), grid_.byteIndex(), pending_, live);
    drawCursor();
    return message;
}

QString PatLabel::fillLine(unsigned char value, bool live)
{
    if (!loaded_)
        return {};
    const QString message = store_.fillLine(grid_.line(), value, live);
    redrawPage();
    return message;
}

void PatLabel::findLine(unsigned int line)
{
    if (!loaded_)
        return;
    grid_.findLine(line);
    redrawPage();
}

void PatLabel::findColumn(unsigned int column)
{
    if (!loaded_)
        return;
    grid_.findColumn(column);
    redrawPage();
}

bool PatLabel::savePattern() const
{
    return !loaded_ || store_.save();
}

void PatLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (page_.isNull())
        return;
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), page_);
}

void PatLabel::mousePressEvent(QMouseEvent *event)
{
    press_ = event->position().toPoint();
}

void PatLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint travel = event->position().toPoint() - press_;
    if (travel.x() > kSwipe)
        direct(PatGrid::PageLeft);
    else if (travel.x() < -kSwipe)
        direct(PatGrid::PageRight);
    else if (travel.y() > kSwipe)
        direct(PatGrid::PageHigher);
    else if (travel.y() < -kSwipe)
        direct(PatGrid::PageLower);
    else
        setCursorAt(event->position().toPoint().x() - contentsRect().x(), event->position().toPoint().y() - contentsRect().y());
}
