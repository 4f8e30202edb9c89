#pragma once

#include <QLabel>

// A label whose dots fill what its column leaves: a text longer than the room is drawn in a
// smaller font (down to a floor) rather than cut mid-glyph, the dots then filling the rest.
class DottedLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int kSmallestPixels = 9;

    DottedLabel(const QString &text, QWidget *parent);

    // The font's pixel size the text is drawn in now.
    int pixelSize() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fit();

    QString text_;
    bool fitting_ = false;
};
