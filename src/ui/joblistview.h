#pragma once

#include "ui/beepinglistview.h"

// The list of the jobs on the disk that the file manager, the deletion page and the job chooser
// show: column 0 the name with the folder picture, column 1 the import time, further columns
// the page's own; sorted ascending by name or by time.
class JobListView : public BeepingListView
{
    Q_OBJECT

public:
    JobListView(QWidget *parent, const QStringList &extraColumns = {});

    // Column 1 when byTime (the panel settings' word 1 is 1), else column 0.
    void setSortByTime(bool byTime);
    // Reads the job folders again and selects the first.
    void refill();
    // The first item whose text in column equals text, selected, current and centred; nullptr
    // when none.
    QTreeWidgetItem *findItem(const QString &text, int column);
    // findItem(name, 0) with the current-job picture.
    QTreeWidgetItem *markCurrentJob(const QString &name);
    // Column 0 of the current item; empty when the list is empty.
    QString currentName() const;
    // Makes item current and its only selection.
    void choose(QTreeWidgetItem *item);

private:
    int sortColumn_ = 0;
};
