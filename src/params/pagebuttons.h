#pragma once

#include <QWidget>

#include <functional>

class BeepingButton;

// A row of a page's touch buttons ("F1.备  份" ...): they never take the focus from the
// page's cell, and each runs the same action as its key.
class PageButtons : public QWidget
{
    Q_OBJECT

public:
    explicit PageButtons(QWidget *parent, const char *name = "bback");

    BeepingButton *add(const QString &text, std::function<void()> action);

private:
    QByteArray name_;
};
