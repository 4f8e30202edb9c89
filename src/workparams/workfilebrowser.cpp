#include "workfilebrowser.h"

#include "data/jobname.h"
#include "data/machinedata.h"
#include "logic/files/jobsender.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/fileoperatedialog.h"
#include "ui/jobchooserdialog.h"
#include "ui/keytable.h"
#include "ui/operatordialogs.h"
#include "ui/stickexportdialog.h"
#include "ui/stickimportdialog.h"
#include "ui/transferdialog.h"

#include <QFileInfo>
#include <QFrame>
#include <QTextEdit>

namespace {

const char kImportFailed[] = QT_TRANSLATE_NOOP("WorkFileBrowser", " 导入工作参数失败 ! ");
const char kImported[] = QT_TRANSLATE_NOOP("WorkFileBrowser", " 导入工作参数成功 ! ");
const char kImportCaption[] = QT_TRANSLATE_NOOP("WorkFileBrowser", " 导入工作参数 ... ... ");

struct ViewButton
{
    const char *text;
    void (WorkFileBrowser::*show)();
};

const ViewButton kViews[] = {
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "1.密     度    "), &WorkFileBrowser::showDensityPage},   {QT_TRANSLATE_NOOP("WorkFileBrowser", "2.速     度    "), &WorkFileBrowser::showSpeedPage},
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "3.罗     拉    "), &WorkFileBrowser::showRollersPage},      {QT_TRANSLATE_NOOP("WorkFileBrowser", "4.纱     嘴    "), &WorkFileBrowser::showParkingPage},
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "5.纱嘴替换    "), &WorkFileBrowser::showReplacementPage},
};

const ViewButton kFileCommands[] = {
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "F1.导出参数到U盘"), &WorkFileBrowser::exportWorkToStick},
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "F2.从U盘导入参数"), &WorkFileBrowser::importWorkFromStick},
    {QT_TRANSLATE_NOOP("WorkFileBrowser", "F3.从其它文件导入"), &WorkFileBrowser::importFromJob},
};

} // namespace

WorkFileBrowser::WorkFileBrowser(MachineData &machine, unsigned char mode, const QString &path, QWidget *parent, const char *name)
    : ScreenFrame(parent, name, true, kFrameless, mode)
    , machine_(machine)
    , path_(path)
    , frame_(new QFrame(this))
    , text_(new QTextEdit(frame_))
{
    setTitleLine(QStringLiteral("Wrk File Browse Tools"));
    setMessageLine(tr("编织衣物参数浏览工具 - %1").arg(QFileInfo(path).fileName()));
    frame_->setObjectName(QStringLiteral("Fwindow"));
    frame_->setFrameShape(QFrame::Panel);
    frame_->setGeometry(10, 55, 620, 415);
    text_->setGeometry(140, 10, 470, 395);
    text_->setReadOnly(true);
    text_->setFocusPolicy(Qt::NoFocus);
    text_->setLineWrapMode(QTextEdit::NoWrap);
    // The views line up their columns with blanks: a font whose CJK glyphs are two Latin wide.
    QFont mono(QStringLiteral("WenQuanYi Micro Hei Mono"));
    mono.setPixelSize(10);
    mono.setStyleHint(QFont::TypeWriter);
    text_->setFont(mono);
    // A column of buttons from y, each with its keys.
    QList<KeyTable::Row> keys;
    const auto column = [&](const ViewButton *buttons, int count, int y, const std::function<QList<int>(int)> &keysOf) {
        for (int i = 0; i < count; ++i) {
            auto *b = new BeepingButton(tr(buttons[i].text), frame_, "button");
            b->setGeometry(10, y + 40 * i, 120, 40);
            b->setFocusPolicy(Qt::NoFocus);
            const auto show = buttons[i].show;
            connect(b, &QPushButton::released, this, show);
            keys.append({keysOf(i), [this, show] { (this->*show)(); }});
        }
    };
    column(kViews, int(std::size(kViews)), 10, [](int i) { return QList<int>{Qt::Key_1 + i}; });
    if (mode == kWithFiles)
        column(kFileCommands, int(std::size(kFileCommands)), 285, [](int i) { return KeyTable::function(i + 1); });
    KeyTable::install(this, keys);
    reload();
}

void WorkFileBrowser::openWorkFile(MachineData &machine, int mode, const QString &path, QWidget *parent)
{
    WorkFileBrowser browser(machine, static_cast<unsigned char>(mode), path, parent);
    browser.exec();
}

void WorkFileBrowser::reload()
{
    // A file that is not a whole work file is not shown at all rather than half.
    text_->setVisible(WorkFile::read(path_, &buffer_));
    showDensityPage();
}

void WorkFileBrowser::print(WorkFile::View view)
{
    text_->setPlainText(WorkFile::view(view, buffer_).join(QLatin1Char('\n')));
}

bool WorkFileBrowser::isCurrentJob() const
{
    const QString &job = machine_.jobName();
    return !job.isEmpty() && QFileInfo(path_).completeBaseName() == job;
}

bool WorkFileBrowser::sendWorkFile(const QString &path)
{
    const JobSender::Result result = JobSender::sendWork(machine_, path, TransferDialog::withController());
    if (!result.sent)
        showMessage(this, result.message);
    return result.sent;
}

void WorkFileBrowser::importFrom(const QString &source)
{
    QByteArray block;
    const bool ok = WorkFile::read(source, &block) && (!isCurrentJob() || sendWorkFile(source))
        && FileOperateDialog::copy(source, path_, this);
    showMessage(this, tr(ok ? kImported : kImportFailed));
}

void WorkFileBrowser::exportWorkToStick()
{
    StickExportDialog::saveFileToStick(path_, tr("导出工作参数 ... ... "), PanelPaths::usbRoot(),
                                         QStringLiteral("*.wrk"), this);
}

void WorkFileBrowser::importWorkFromStick()
{
    // Through the temporary file for every job: nothing reaches the job's file, or the
    // controller, before its size is checked.
    const QString temporary = PanelPaths::tmp(QStringLiteral("/wrk.wrk"));
    if (!StickImportDialog::openFileFromStick(temporary, tr(kImportCaption), PanelPaths::usbRoot(),
                                             QStringLiteral("*.wrk"), this)) {
        showMessage(this, tr(kImportFailed));
        return;
    }
    importFrom(temporary);
    reload();
}

void WorkFileBrowser::importFromJob()
{
    const QString name = JobChooserDialog::chooseJob(machine_, tr("导入工作参数 ... ... "), this);
    if (name == QFileInfo(path_).completeBaseName())
        return;
    if (!name.isNull() && JobName::isSafe(name))
        importFrom(PanelPaths::data(QStringLiteral("/wave/") + name + QLatin1Char('/') + name + QStringLiteral(".wrk")));
    reload();
}
