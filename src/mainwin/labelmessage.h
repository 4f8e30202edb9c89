#pragma once

#include <QLabel>

// The main screen's message line: a first message that doubles as the state of the zeroing
// and row-skipping sequences, and a second one; hidden while there is nothing to say. The first
// is kept as its source text, so the sequence does not depend on the language shown.
class LabelMessage : public QLabel
{
    Q_OBJECT

public:
    explicit LabelMessage(QWidget *parent = nullptr, const char *name = nullptr);

    void setMessage(const QString &m1, const QString &m2);
    void setMessage1(const QString &m1);
    QString getMessage1() const { return message1_; }
    QString getMessage2() const { return message2_; }
    void cancelMessage();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showMessages();

    QString message1_;
    QString message2_;
};
