#include "diskfilemanager.h"

#include "jobdeletionpage.h"
#include "jobimportdialog.h"
#include "logic/controller/controllercommands.h"
#include "ui/joblistview.h"
#include "ui/jobviewers.h"
#include "ui/pagekeys.h"
#include "ui/stickexportdialog.h"

#include "data/cntrow.h"
#include "data/machinedata.h"
#include "data/panelfiles.h"
#include "data/patfile.h"
#include "data/protocol.h"
#include "logic/controller/controllermessages.h"
#include "logic/editors/cntstore.h"
#include "logic/files/jobfolders.h"
#include "logic/files/jobsender.h"
#include "platform/diskcapacity.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/bmpedit.h"
#include "ui/keytable.h"
#include "ui/operatordialogs.h"
#include "ui/panelpalettes.h"
#include "ui/transferdialog.h"

#include <QFile>

namespace {

// Below this many kilobytes free the disk takes no more jobs.
constexpr quint64 kMinFreeKb = 5120;
const char kRunning[] = QT_TRANSLATE_NOOP("DiskFileManager", "机头正在运行, 请先停止运行 !");

} // namespace

DiskFileManager::DiskFileManager(MachineData &machine, QWidget *parent, const char *name, bool modal, Qt::WindowFlags flags)
    : ScreenFrame(parent, name ? name : "diskfilemanager", modal, flags)
    , machine_(machine)
{
    setTitleLine(QStringLiteral("Clothing File Management"));
    auto *body = new QWidget(this);
    body->setGeometry(0, 45, 640, 435);

    list_ = new JobListView(body);
    list_->setGeometry(120, 10, 440, 394);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSortByTime(sortByTime());
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { showJobInfo(item); });

    const struct { const char *text; void (DiskFileManager::*slot)(); } buttons[] = {
        {QT_TR_NOOP("F1.导入编织文件"), &DiskFileManager::importJob},
        {QT_TR_NOOP("F2.导出编织文件"), &DiskFileManager::exportJob},
        {QT_TR_NOOP("F3.上传编织文件"), &DiskFileManager::sendJob},
        {QT_TR_NOOP("F4.图片文件浏览"), &DiskFileManager::openPicture},
        {QT_TR_NOOP("F5.动作文件浏览"), &DiskFileManager::openProgram},
        {QT_TR_NOOP("F6.花型文件浏览"), &DiskFileManager::openPattern},
        {QT_TR_NOOP("F7.工作参数管理"), &DiskFileManager::openWorkParameters},
        {QT_TR_NOOP("F8.编织文件删除"), &DiskFileManager::deleteJob},
        {QT_TR_NOOP(" M.硬盘信息管理"), &DiskFileManager::openDeletionPage},
    };
    QList<KeyTable::Row> keys;
    int y = 10;
    for (const auto &b : buttons) {
        auto *button = new BeepingButton(tr(b.text), body, "Bmenu");
        button->setGeometry(10, y, 100, 38);
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setPalette(PanelPalettes().buttonDark());
        connect(button, &QPushButton::clicked, this, b.slot);
        y += 44;
        const int n = keys.size() + 1;
        keys.append({n <= 8 ? KeyTable::function(n) : QList<int>{Qt::Key_M}, [this, slot = b.slot] { (this->*slot)(); }});
    }
    KeyTable::install(this, keys);
    new PageKeys(body, QRect(561, 10, 48, 394), 94, 100);
    list_->setFocus();
}

void DiskFileManager::showEvent(QShowEvent *event)
{
    ScreenFrame::showEvent(event);
    listFiles();
    list_->markCurrentJob(machine_.jobName());
    list_->setFocus();
}

void DiskFileManager::listFiles()
{
    setMessageLine(QString());
    list_->refill();
}

QString DiskFileManager::chosen() const
{
    return list_->currentName();
}

void DiskFileManager::showJobInfo(QTreeWidgetItem *item)
{
    setMessageLine(QString());
    if (!item)
        return;
    const QString cnt = JobFolders::file(item->text(0), QStringLiteral(".cnt"));
    const QString pat = JobFolders::file(item->text(0), QStringLiteral(".pat"));
    QString refusal = JobSender::damaged(cnt);
    if (!refusal.isEmpty()) {
        showMessage(this, refusal);
        return;
    }
    QFile program(cnt);
    if (!program.open(QIODevice::ReadOnly))
        return;
    const QByteArray rows = program.read(kCntMaxFileSize);
    refusal = JobSender::damaged(pat);
    if (!refusal.isEmpty()) {
        showMessage(this, refusal);
        return;
    }
    // The rows the program editor shows; an empty file has none.
    setMessageLine(tr("花型长度:%1     花型宽度:%2").arg(CntStore::rowsOf(rows.size())).arg(patFileWidth(pat)));
}

bool DiskFileManager::updateFromFile(const QString &name)
{
    const JobSender::Result result = JobSender::send(machine_, name, TransferDialog::withController());
    if (result.sent) {
        Q_EMIT jobChosen(name);
        listFiles();
        list_->markCurrentJob(machine_.jobName());
    }
    if (!result.message.isEmpty())
        showMessage(this, result.message);
    return result.sent;
}

void DiskFileManager::sendJob()
{
    const QString name = chosen();
    if (name.isEmpty())
        return;
    const QString refusal = JobSender::refusal(name);
    if (!refusal.isEmpty()) {
        showMessage(this, refusal);
        return;
    }
    if (!askYesNo(this, tr("确定选择该编织文件: %1").arg(name)))
        return;
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(tr(kRunning)));
        return;
    }
    updateFromFile(name);
}

void DiskFileManager::importJob()
{
    quint64 freeKb = 0;
    if (DiskCapacity::query(PanelPaths::dataRoot(), nullptr, &freeKb) && freeKb < kMinFreeKb) {
        showMessage(this, tr("你的花型存储容量不足,请删除不用的花型文件 !"));
        return;
    }
    const QString name = JobImportDialog::openFolderFromStick(JobFolders::root(), tr("导入编织文件 ... "),
                                                           PanelPaths::usbRoot(), QStringLiteral("*.xxx *.cnt *.pat"), this);
    if (name.isEmpty())
        return;
    listFiles();
    list_->markCurrentJob(machine_.jobName());
    list_->findItem(name, 0);
    if (name != machine_.jobName())
        return;
    // The files of the job being knitted were replaced: the controller must have them too.
    showMessage(this, tr("新导入文件与正在编织文件名相同 !"));
    for (int i = 0; !ControllerCommands::stopped(); ++i) {
        if (i == JobSender::kTries) {
            showMessage(this, tr("新导入文件未上传到主控制器, 请停止后按F3上传 !"));
            return;
        }
        showMessage(this, ControllerMessages::refusal(tr(kRunning)));
    }
    updateFromFile(name);
}

void DiskFileManager::exportJob()
{
    const QString name = chosen();
    if (!name.isEmpty())
        StickExportDialog::saveFileToStick(JobFolders::dir(name), tr("文件另存为 ... "), PanelPaths::usbRoot(),
                                             QStringLiteral("*.*"), this);
}

void DiskFileManager::openPicture()
{
    const QString name = chosen();
    if (name.isEmpty())
        return;
    // The picture is optional in a job: without one the viewer would open on an empty page.
    const QString picture = JobFolders::file(name, QStringLiteral(".xxx"));
    if (!QFile::exists(picture)) {
        showMessage(this, tr("该编织文件没有图片文件 !"));
        return;
    }
    BmpEdit::openFile(picture, this);
}

void DiskFileManager::openProgram()
{
    openEditor(JobViewers::Program, QStringLiteral(".cnt"));
}

void DiskFileManager::openPattern()
{
    openEditor(JobViewers::Pattern, QStringLiteral(".pat"));
}

void DiskFileManager::openEditor(int kind, const QString &ext)
{
    const QString name = chosen();
    const JobViewers *viewers = JobViewers::find();
    if (name.isEmpty() || !viewers || !viewers->has(JobViewers::Kind(kind)))
        return;
    const QString path = JobFolders::file(name, ext);
    const QString refusal = JobSender::damaged(path);
    if (!refusal.isEmpty())
        showMessage(this, refusal);
    else
        viewers->open(JobViewers::Kind(kind), path, 0, this);
}

void DiskFileManager::openWorkParameters()
{
    const QString name = chosen();
    const JobViewers *viewers = JobViewers::find();
    if (!name.isEmpty() && viewers)
        viewers->open(JobViewers::WorkParameters, JobFolders::file(name, QStringLiteral(".wrk")), 1, this);
}

void DiskFileManager::deleteJob()
{
    const QString name = chosen();
    if (name.isEmpty() || !askYesNo(this, tr("确定删除该文件吗?")))
        return;
    QTreeWidgetItem *below = list_->itemBelow(list_->currentItem());
    const QString next = below ? below->text(0) : QString();
    if (!deletePath(JobFolders::dir(name)))
        showMessage(this, tr("删除文件失败 !"));
    listFiles();
    list_->markCurrentJob(machine_.jobName());
    if (!next.isEmpty())
        list_->findItem(next, 0);
    dropCurrentJobIfGone();
}

void DiskFileManager::openDeletionPage()
{
    const QString was = chosen();
    JobDeletionPage page(this);
    page.exec();
    list_->setSortByTime(sortByTime());
    listFiles();
    if (!was.isEmpty())
        list_->findItem(was, 0);
    list_->markCurrentJob(machine_.jobName());
    dropCurrentJobIfGone();
}

bool DiskFileManager::sortByTime() const
{
    return machine_.panelSettings().word(Protocol::SortByTimeWord) == 1;
}

void DiskFileManager::dropCurrentJobIfGone()
{
    if (machine_.jobName().isEmpty() || list_->findItems(machine_.jobName(), Qt::MatchExactly, 0).size() > 0)
        return;
    machine_.setJobName(QString());
    Q_EMIT jobChosen(QString());
}
