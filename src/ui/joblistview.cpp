#include "joblistview.h"

#include "fileicons.h"

#include "logic/files/jobfolders.h"

JobListView::JobListView(QWidget *parent, const QStringList &extraColumns)
    : BeepingListView(parent, "list_dir")
{
    setHeaderLabels(QStringList{tr("名  称"), tr("时  间")} + extraColumns);
    setColumnWidth(0, 200);
    setColumnWidth(1, 160);
    setUniformRowHeights(true);
}

void JobListView::setSortByTime(bool byTime)
{
    sortColumn_ = byTime ? 1 : 0;
    sortItems(sortColumn_, Qt::AscendingOrder);
}

void JobListView::refill()
{
    clear();
    QList<QTreeWidgetItem *> items;
    for (const JobFolders::Job &job : JobFolders::list()) {
        auto *item = new QTreeWidgetItem(QStringList{job.name, job.time});
        item->setIcon(0, FileIcons::folder());
        items.append(item);
    }
    addTopLevelItems(items);
    sortItems(sortColumn_, Qt::AscendingOrder);
    if (topLevelItemCount() > 0)
        choose(topLevelItem(0));
}

void JobListView::choose(QTreeWidgetItem *item)
{
    clearSelection();
    setCurrentItem(item);
    if (item)
        item->setSelected(true);
}

QTreeWidgetItem *JobListView::findItem(const QString &text, int column)
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        if (item->text(column) == text) {
            choose(item);
            scrollToItem(item, QAbstractItemView::PositionAtCenter);
            return item;
        }
    }
    return nullptr;
}

QTreeWidgetItem *JobListView::markCurrentJob(const QString &name)
{
    QTreeWidgetItem *item = name.isEmpty() ? nullptr : findItem(name, 0);
    if (item)
        item->setIcon(0, FileIcons::current());
    return item;
}

QString JobListView::currentName() const
{
    return currentItem() ? currentItem()->text(0) : QString();
}
