#pragma once

#include "ui/screenframe.h"

class JobListView;
class MachineData;

// The job chooser: the jobs on the disk, of which the operator picks one and presses
// "导    入" (Enter); used to take another job's work parameters.
class JobChooserDialog : public ScreenFrame
{
    Q_OBJECT

public:
    // The list in the order machine's panel settings choose.
    explicit JobChooserDialog(const MachineData &machine, QWidget *parent = nullptr, const char *name = nullptr);

    // The chosen job's name; a null string when the operator closed the page or there is no
    // job. The caption is the window's title.
    static QString chooseJob(const MachineData &machine, const QString &caption, QWidget *parent = nullptr);

    JobListView *list() const { return list_; }

private:
    JobListView *list_;
};
