#pragma once

#include <QCheckBox>

// A check box the keypad's Enter toggles (on or partly on goes off, off goes on), telling its
// page by enterPressed.
class myentercheckbox : public QCheckBox
{
    Q_OBJECT

public:
    explicit myentercheckbox(QWidget *parent = nullptr, const char *name = nullptr);
    myentercheckbox(const QString &text, QWidget *parent = nullptr, const char *name = nullptr);

Q_SIGNALS:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
