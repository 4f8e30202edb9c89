#pragma once

#include <QCheckBox>

// A check box the keypad's Enter toggles (on or partly on goes off, off goes on), telling its
// page by enterPressed.
class EnterCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit EnterCheckBox(QWidget *parent = nullptr, const char *name = nullptr);
    EnterCheckBox(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

Q_SIGNALS:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
