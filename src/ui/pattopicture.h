#pragma once

#include <QPoint>
#include <QScrollArea>
#include <QTimer>

class QLabel;

// The pattern picture of the main screen: the job's picture file with a flashing line on the
// pattern line the machine is knitting; the operator drags it to look around.
class PatToPicture : public QScrollArea
{
    Q_OBJECT

public:
    static constexpr int kFlashMs = 500;
    static constexpr int kDragSlack = 10;

    explicit PatToPicture(QWidget *parent = nullptr, const char *name = nullptr);

    void openPatternPicture(const QString &path);
    bool isLoaded() const { return loaded_; }
    QLabel *picture() const { return picture_; }
    QLabel *marker() const { return marker_; }

public Q_SLOTS:
    void scrollToStart();
    void scrollToLine(int line);
    void blinkMarker();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void flashWhileSeen();

    QLabel *picture_;
    QLabel *marker_;
    bool loaded_ = false;
    QTimer flash_;
    QPoint pressed_;
};
