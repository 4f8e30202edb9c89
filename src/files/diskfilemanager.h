#pragma once

#include "ui/screenframe.h"

#include <QTreeWidgetItem>

class JobListView;
class MachineData;

// The disk file manager: the jobs on the panel's disk, and the keys that choose the job to
// knit (sending it to the controller), import one from the stick, export one, open its
// picture, program, pattern or work parameters, delete it, or open the deletion page.
class DiskFileManager : public ScreenFrame
{
    Q_OBJECT

public:
    explicit DiskFileManager(MachineData &machine, QWidget *parent = nullptr, const char *name = nullptr, bool modal = true,
                       Qt::WindowFlags flags = kFrameless);

    JobListView *list() const { return list_; }

    void listFiles();
    // Sends the job and makes it current; false (after its message, if any) when it failed.
    bool updateFromFile(const QString &name);

public Q_SLOTS:
    void showJobInfo(QTreeWidgetItem *item);
    void importJob();
    void exportJob();
    void sendJob();
    void openPicture();
    void openProgram();
    void openPattern();
    void openWorkParameters();
    void deleteJob();
    void openDeletionPage();

Q_SIGNALS:
    // The current job is now name (empty: there is none).
    void jobChosen(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The current item's job name; empty when the list is empty.
    QString chosen() const;
    // F5 and F6: the editor of that kind on the job's file, after its check.
    void openEditor(int kind, const QString &ext);
    void dropCurrentJobIfGone();
    bool sortByTime() const;

    MachineData &machine_;
    JobListView *list_;
};
