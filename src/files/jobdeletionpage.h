#pragma once

#include "ui/screenframe.h"

#include <QStringList>
#include <QTimer>

class JobListView;
class BeepingButton;

// The deletion page: the jobs on the disk with their import times and the disk's size and
// free space; F1 marks or unmarks them all, F2 the current one, F3 deletes the marked jobs
// after two questions, one per timer tick, until done or the close key stops it.
class JobDeletionPage : public ScreenFrame
{
    Q_OBJECT

public:
    explicit JobDeletionPage(QWidget *parent = nullptr, const char *name = nullptr);

    JobListView *list() const { return list_; }
    bool deleting() const { return timer_.isActive(); }

public Q_SLOTS:
    void markAll();
    void markCurrent();
    void deleteMarked();
    // While jobs are being deleted the close key stops the deletion instead of closing.
    void reject() override;

private:
    void deleteNext();
    void finish();
    void showCapacity();
    void setMark(int row, bool on);

    JobListView *list_;
    BeepingButton *all_;
    bool allMarked_ = false;
    QStringList queue_;
    QTimer timer_;
};
