#pragma once

#include <QLabel>

// A label that can be touched: it reports released only while it is set clickable.
class TouchLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TouchLabel(QWidget *parent = nullptr, const char *name = nullptr);
    TouchLabel(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

    void setClickable(bool clickable) { clickable_ = clickable; }
    bool isClickable() const { return clickable_; }

Q_SIGNALS:
    void released();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool clickable_ = false;
};
