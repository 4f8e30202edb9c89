#include "jobdeletionpage.h"

#include "ui/joblistview.h"
#include "ui/pagekeys.h"

#include "data/panelfiles.h"
#include "data/numberformat.h"
#include "logic/files/jobfolders.h"
#include "platform/diskcapacity.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/keytable.h"
#include "ui/operatordialogs.h"
#include "ui/panelpalettes.h"

namespace {

constexpr int kMarkColumn = 2;
const char kSelectAll[] = QT_TRANSLATE_NOOP("JobDeletionPage", "F1.全部选中");
const char kClearAll[] = QT_TRANSLATE_NOOP("JobDeletionPage", "F1.全部取消");

} // namespace

JobDeletionPage::JobDeletionPage(QWidget *parent, const char *name)
    : ScreenFrame(parent, name ? name : "jobdeletionpage")
{
    setTitleLine(QStringLiteral("Hard Disk File Management"));
    auto *body = new QWidget(this);
    body->setGeometry(0, 45, 640, 435);
    list_ = new JobListView(body, {tr("选  中")});
    list_->setGeometry(120, 10, 440, 394);

    const struct { const char *text; void (JobDeletionPage::*slot)(); } buttons[] = {
        {kSelectAll, &JobDeletionPage::markAll}, {QT_TR_NOOP("F2.单个选中"), &JobDeletionPage::markCurrent}, {QT_TR_NOOP("F3.删除选中"), &JobDeletionPage::deleteMarked}};
    QList<KeyTable::Row> keys;
    for (const auto &b : buttons) {
        auto *button = new BeepingButton(tr(b.text), body, "Bmenu");
        button->setGeometry(10, 10 + 44 * keys.size(), 100, 38);
        button->setFocusPolicy(Qt::NoFocus);
        button->setPalette(PanelPalettes().buttonDark());
        connect(button, &QPushButton::clicked, this, b.slot);
        keys.append({KeyTable::function(keys.size() + 1), [this, slot = b.slot] { (this->*slot)(); }});
        if (keys.size() == 1)
            all_ = button;
    }
    KeyTable::install(this, keys);
    new PageKeys(body, QRect(561, 10, 48, 394), 94, 100);

    connect(&timer_, &QTimer::timeout, this, &JobDeletionPage::deleteNext);
    list_->refill();
    showCapacity();
    list_->setFocus();
}

void JobDeletionPage::showCapacity()
{
    quint64 total = 0;
    quint64 free = 0;
    const bool known = DiskCapacity::query(PanelPaths::dataRoot(), &total, &free);
    //: Message line under the title: disk size and free space; fits 540 px.
    setMessageLine(tr("硬盘空间:%1     剩余空间:%2     注: 部分空间为系统使用")
                     .arg(known ? sizeText(total) : QString(), known ? sizeText(free) : QString()));
}

void JobDeletionPage::setMark(int row, bool on)
{
    if (QTreeWidgetItem *item = list_->topLevelItem(row))
        item->setText(kMarkColumn, on ? QStringLiteral("v") : QString());
}

void JobDeletionPage::markAll()
{
    if (deleting())
        return;
    allMarked_ = !allMarked_;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        setMark(i, allMarked_);
    all_->setText(tr(allMarked_ ? kClearAll : kSelectAll));
}

void JobDeletionPage::markCurrent()
{
    QTreeWidgetItem *item = list_->currentItem();
    if (!item || deleting())
        return;
    setMark(list_->indexOfTopLevelItem(item), item->text(kMarkColumn).isEmpty());
}

void JobDeletionPage::deleteMarked()
{
    if (deleting())
        return;
    QStringList marked;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (!list_->topLevelItem(i)->text(kMarkColumn).isEmpty())
            marked.append(list_->topLevelItem(i)->text(0));
    }
    if (marked.isEmpty() || !askYesNo(this, tr("确定要删除选中的文件吗?"))
        || !askYesNo(this, tr("再次确认要删除选中的文件吗?")))
        return;
    queue_ = marked;
    timer_.start(0);
}

void JobDeletionPage::deleteNext()
{
    if (queue_.isEmpty()) {
        finish();
        return;
    }
    const QString name = queue_.takeFirst();
    setMessageLine(tr("正在删除文件, 按< 取消 >键停止删除 !  --- 正在删除 :%1").arg(name));
    if (!deletePath(JobFolders::dir(name))) {
        finish();
        showMessage(this, tr("删除文件失败 !"));
    }
}

void JobDeletionPage::finish()
{
    timer_.stop();
    queue_.clear();
    allMarked_ = false;
    all_->setText(tr(kSelectAll));
    list_->refill();
    showCapacity();
}

void JobDeletionPage::reject()
{
    if (deleting()) {
        finish();
        return;
    }
    ScreenFrame::reject();
}
