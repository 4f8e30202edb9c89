// The quick functions of the main screen's top band, and what goes around the pages they open:
// the start-needle hand-over between the job and the system parameters, the job's work
// parameters saved after a page changed them, and the panel's backup of the system parameters.
#include "mainscreen.h"

#include "labelmessage.h"
#include "languagemenu.h"
#include "rowdisplay.h"

#include "data/jobname.h"
#include "data/machinedata.h"
#include "data/messagesteps.h"
#include "data/panelfiles.h"
#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "platform/panelpaths.h"
#include "ui/operatordialogs.h"
#include "ui/quickpages.h"
#include "ui/touchlabel.h"

#include <QFileInfo>

#include <memory>

namespace {

using namespace Protocol;

// The start needle, as the system parameters hold it and as the job was made for.
constexpr std::size_t kSystemStartNeedle = StartNeedleWord;
constexpr std::size_t kJobStartNeedle = JobStartNeedleWord;

constexpr int kRowDigits = 4;

bool stopped()
{
    return ControllerCommands::stopped();
}

// A row typed by the operator: unsigned decimal digits only, at most what a word holds.
bool parseRow(const QString &text, unsigned short *row)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const uint v = text.toUInt();
    if (v > 0xFFFF)
        return false;
    *row = static_cast<unsigned short>(v);
    return true;
}

// The job's own files; empty when no job is loaded (or its name is not one path component).
QString jobFile(const QString &job, const char *suffix)
{
    if (job.isEmpty() || !JobName::isSafe(job))
        return QString();
    return PanelPaths::data(QStringLiteral("/wave/") + job + QLatin1Char('/') + job + QLatin1String(suffix));
}

} // namespace

bool MainScreen::runPage(int page)
{
    std::unique_ptr<QDialog> dialog(pages_ ? pages_->make(QuickPages::Page(page), this) : nullptr);
    if (!dialog)
        return false;
    dialog->exec();
    return dialog->property("changed").toInt() == 1;
}

bool MainScreen::hasPage(int page) const
{
    return pages_ && pages_->has(QuickPages::Page(page));
}

bool MainScreen::jobHasPattern()
{
    const QString pat = jobFile(machineData_.jobName(), ".pat");
    if (!pat.isEmpty() && QFileInfo::exists(pat))
        return true;
    showMessage(this, tr("没有编织文件 , 请先设置编织文件 !"));
    return false;
}

void MainScreen::saveJobWork()
{
    // Without a current job there is no file to keep them in.
    const QString wrk = jobFile(machineData_.jobName(), ".wrk");
    if (!wrk.isEmpty())
        saveWorkFile(wrk);
}

void MainScreen::startNeedleToSystem()
{
    machineData_.system().setWord(kSystemStartNeedle, machineData_.work().word(kJobStartNeedle));
}

void MainScreen::startNeedleToJob()
{
    if (machineData_.system().word(kSystemStartNeedle) != machineData_.work().word(kJobStartNeedle)) {
        machineData_.work().setWord(kJobStartNeedle, machineData_.system().word(kSystemStartNeedle));
        saveJobWork();
    }
    paintStartNeedle(machineData_.work().word(kJobStartNeedle));
}

void MainScreen::takeSystemBackup()
{
    systemBefore_ = machineData_.system().block();
}

void MainScreen::keepSystemBackup()
{
    // Start-up compares the controller's parameters with this copy; it must follow every change
    // made from the panel.
    if (systemBefore_ == machineData_.system().block())
        return;
    if (saveWholeFile(PanelPaths::data(QStringLiteral("/para/checksystem.sys")), machineData_.system().data(), qint64(kSystemSize)) != 1)
        showMessage(this, tr("保存系统备份参数失败, 请重试 !"));
}

void MainScreen::openWorkParams()
{
    if (!hasPage(QuickPages::JobParams))
        return;
    startNeedleToSystem();
    if (!jobHasPattern())
        return;
    takeSystemBackup();
    // Built at each opening as every page is, at the tab it was left on: a kept dialog shown a
    // second time on the framebuffer was never drawn, and held the keys and touches unseen.
    std::unique_ptr<QDialog> dialog(pages_->make(QuickPages::JobParams, this));
    if (!dialog)
        return;
    // The work-parameter pages' own slot, by name: the main window knows no page's class.
    QMetaObject::invokeMethod(dialog.get(), "showTab", Q_ARG(int, workParamTab_));
    dialog->exec();
    workParamTab_ = dialog->property("tab").toInt();
    if (dialog->property("changed").toInt() == 1)
        saveJobWork();
    startNeedleToJob();
    keepSystemBackup();
}

void MainScreen::openFrequentSettings()
{
    if (!hasPage(QuickPages::FrequentSettings))
        return;
    takeSystemBackup();
    startNeedleToSystem();
    runPage(QuickPages::FrequentSettings);
    paintPieces(machineData_.controllerState().word(PiecesDoneWord), machineData_.controllerState().word(PiecesWord));
    startNeedleToJob();
    keepSystemBackup();
}

void MainScreen::openFiles()
{
    if (!hasPage(QuickPages::FileManager))
        return;
    takeSystemBackup();
    runPage(QuickPages::FileManager);
    // The program editor may have changed the loaded program: the shown row again, from it.
    const unsigned short shown = rowDisplay_->rowNumber()->text().trimmed().toUShort();
    if (shown > 0)
        rowDisplay_->setRow(shown);
    paintStartNeedle(machineData_.work().word(kJobStartNeedle));
    keepSystemBackup();
}

void MainScreen::openYarnFeeders()
{
    if (!hasPage(QuickPages::YarnFeeder) || !jobHasPattern())
        return;
    takeSystemBackup();
    if (runPage(QuickPages::YarnFeeder))
        saveJobWork();
    keepSystemBackup();
}

void MainScreen::openPieceExpansion()
{
    showMessage(this, tr("该参数在 编织参数(按键1)->其它设置 中 !"));
}

void MainScreen::openTests()
{
    runPage(QuickPages::ControllerTests);
}

void MainScreen::openSystemTools()
{
    if (!hasPage(QuickPages::SystemTools))
        return;
    takeSystemBackup();
    startNeedleToSystem();
    runPage(QuickPages::SystemTools);
    startNeedleToJob();
    keepSystemBackup();
}

void MainScreen::spareKey8()
{
    LanguageMenu menu(this);
    menu.exec();
}

void MainScreen::spareKey9()
{
    const QString text = askTextSelected(this, QString(), tr("请输入指定停车行行数"), kRowDigits,
                                       QString::number(machineData_.runSettings().word(StopRowWord)));
    unsigned short row = 0;
    if (!parseRow(text, &row))
        return;
    if (!stopped()) {
        showMessage(this, ControllerMessages::refusal(tr("系统正在运行, 不能设置 !")));
        return;
    }
    if (ControllerCommands::action(StopAtRow, row))
        machineData_.runSettings().setWord(StopRowWord, row);
}

void MainScreen::openRowSkip()
{
    if (machineData_.controllerState().byte(LockByte) == 1) {
        showMessage(this, tr("已经锁行,无法进行跳行操作 !"));
        return;
    }
    if (machineData_.controllerState().byte(RunningByte) == 0) {
        showMessage(this, tr("系统开始归零, 不能跳行 !"));
        return;
    }
    unsigned short row = 0;
    if (!parseRow(askText(this, QString(), tr("请输入跳行行数"), kRowDigits), &row))
        return;
    if (row > machineData_.controllerState().word(RowsWord)) {
        showMessage(this, tr("跳行超过文件总行数"));
        return;
    }
    if (row == 0) {
        showMessage(this, tr("跳行行数不能为 0 行"));
        return;
    }
    if (!stopped()) {
        showMessage(this, ControllerMessages::refusal(tr("系统正在运行, 不能跳行 !")));
        return;
    }
    if (ControllerCommands::action(SkipToRow, row))
        showAlarmMessage(MessageSteps::skipZeroArmed(), tr("  跳行到 : %1").arg(row));
}

void MainScreen::turnRollersForward()
{
    if (stopped())
        ControllerCommands::action(RollersForward, 0);
}

void MainScreen::turnRollersBackward()
{
    if (stopped())
        ControllerCommands::action(RollersBackward, 0);
}

void MainScreen::selectWorkParamTab(int tab)
{
    workParamTab_ = tab;
    openWorkParams();
}

void MainScreen::openDensityParams()
{
    selectWorkParamTab(0);
}

void MainScreen::openSpeedParams()
{
    selectWorkParamTab(1);
}

void MainScreen::openRollerParams()
{
    selectWorkParamTab(2);
}

void MainScreen::openCarrierParams()
{
    selectWorkParamTab(3);
}

void MainScreen::openCarrierReplacement()
{
    selectWorkParamTab(4);
}

void MainScreen::openOtherParams()
{
    selectWorkParamTab(5);
}
