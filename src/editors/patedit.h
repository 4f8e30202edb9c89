#pragma once

#include "ui/screenframe.h"

class MachineData;
class PatLabel;
class QComboBox;

// The pattern editor page: the pattern label, the value selector, the twelve buttons and
// their keys, the live flag and the save at closing.
class PatEdit : public ScreenFrame
{
    Q_OBJECT

public:
    // The page is live when path is the pattern of machine's current job.
    PatEdit(const MachineData &machine, const QString &path, QWidget *parent = nullptr, const char *name = nullptr);

    // Shows the page modally on path and deletes it when closed.
    static void openFile(const MachineData &machine, const QString &path, QWidget *parent = nullptr);

    PatLabel *label() const { return context_; }
    QComboBox *selector() const { return value_; }
    bool changed() const { return changed_; }
    bool live() const { return live_; }

public Q_SLOTS:
    void showPosition(int line, int column, unsigned char value);
    void findRow();
    void findColumn();
    void changeWholeGroup();
    void enterFocused();
    void closePage();
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void tell(const QString &message);

    PatLabel *context_;
    QComboBox *value_;
    QString path_;
    bool changed_ = false;
    bool live_ = false;
    bool closing_ = false;
};
