#pragma once

#include <QScrollArea>

class QLabel;
class QPushButton;

// A picture file in a scroll view that the arrow keys move page by page.
class BmpPicture : public QScrollArea
{
    Q_OBJECT

public:
    explicit BmpPicture(QWidget *parent = nullptr, const char *name = nullptr);

    // False (and an empty picture) when the file is missing or not a picture.
    bool openFile(const QString &path);
    QLabel *picture() const { return picture_; }

public Q_SLOTS:
    void scrollLeft();
    void scrollRight();
    void scrollUp();
    void scrollDown();

Q_SIGNALS:
    void closeRequested();

private:
    QPushButton *keyButton(const char *name, Qt::Key key);

    QLabel *picture_;
};
