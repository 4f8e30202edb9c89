#pragma once

#include "logic/files/formatstep.h"
#include "ui/screenframe.h"

#include <QList>

class BeepingButton;
class QPlainTextEdit;

// The frame both formatting pages share: a heading, the log and the action buttons. A chain
// runs one step at a time, each started by a single-shot timer after the one before, so the
// log repaints between them; the buttons stay disabled until the chain ends or fails.
class DiskFormatPage : public ScreenFrame
{
    Q_OBJECT

public:
    bool running() const { return running_; }
    QStringList log() const;

public Q_SLOTS:
    // Ignored while a chain runs: stopped halfway, the flash disk would stay unmounted.
    void reject() override;

protected:
    DiskFormatPage(QWidget *parent, const char *name, const QString &title, const QString &heading);

    // A button at the left, started by key as well.
    void addButton(const QString &text, int key, const std::function<void()> &action);
    // Clears the log, disables the buttons and starts the first step at once.
    void runChain(const QList<FormatStep> &steps);

private:
    void runStep(int index);
    void setButtonsEnabled(bool enabled);

    QPlainTextEdit *log_;
    QList<BeepingButton *> buttons_;
    QList<FormatStep> steps_;
    bool running_ = false;
};
