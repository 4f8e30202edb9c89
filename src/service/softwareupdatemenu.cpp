#include "softwareupdatemenu.h"

#include "knitversion.h"
#include "menurow.h"

#include "data/panelfiles.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "logic/files/stickmount.h"
#include "logic/service/controllerupdate.h"
#include "platform/nativefs.h"
#include "platform/panelpaths.h"
#include "platform/programinstaller.h"
#include "ui/operatordialogs.h"
#include "ui/screenframe.h"
#include "ui/stickimportdialog.h"
#include "ui/transferdialog.h"
#include "ui/updatefolderdialog.h"

#include <QDir>
#include <QFile>
#include <QLabel>

struct SoftwareUpdateMenu::Controller
{
    int object;
    const char *image; // under tmp/
    const char *caption;
    const char *filter;
    const char *waiting;
};

namespace {

const char kDone[] = QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "升级完成, 请重新启动 !");

const SoftwareUpdateMenu::Controller kMaster{ControllerUpdate::kMaster, "/master.bin", QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "主控制器程序升级 ... ..."),
                                 "master*.bin", ControllerMessages::kMasterFlashing};
const SoftwareUpdateMenu::Controller kSlave{ControllerUpdate::kSlave, "/slv1.bin", QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "从控制器程序升级 ... ..."),
                                "slv1*.bin", ControllerMessages::kSlaveFlashing};

// Row n is item n + 1; the versions go in place of "%1" whatever the language.
const MenuRow<SoftwareUpdateMenu> kItems[] = {
    //: %1 is the panel program's version
    {Qt::Key_1, QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "1.人机交互程序升级 - %1"), &SoftwareUpdateMenu::updatePanelProgram},
    //: %1 is the main controller's version
    {Qt::Key_2, QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "2.主控制器程序升级 - %1"), &SoftwareUpdateMenu::updateMaster},
    //: %1 is the slave controller's version
    {Qt::Key_3, QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "3.从控制器程序升级 - %1"), &SoftwareUpdateMenu::updateSlave},
    {Qt::Key_4, QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "4.控制器程序全部升级 - "), &SoftwareUpdateMenu::updateAll},
    {Qt::Key_5, QT_TRANSLATE_NOOP("SoftwareUpdateMenu", "5.控制器驱动更新"), &SoftwareUpdateMenu::updateDriver},
};

} // namespace

SoftwareUpdateMenu::SoftwareUpdateMenu(MachineData &machine, QWidget *parent, const char *name)
    : ListMenu(parent, name)
{
    setContext("SoftwareUpdateMenu");
    for (int row = 0; row < int(std::size(kItems)); ++row)
        setItem(0, row, QString::fromUtf8(kItems[row].text), QIcon(), kItems[row].key);
    // The program's version is the project's (the package carries the same).
    setArgument(0, 0, QStringLiteral("KV.RN_TS - v" KNIT_VERSION));
    setArgument(0, 1, ControllerUpdate::masterVersion(machine));
    setArgument(0, 2, ControllerUpdate::slaveVersion(machine));
    connect(this, &MenuGrid::itemChosen, this, &SoftwareUpdateMenu::chooseItem);
}

void SoftwareUpdateMenu::chooseItem(int column, int row)
{
    dispatchMenu(this, kItems, column, row);
}

void SoftwareUpdateMenu::status(const QString &text)
{
    if (auto *frame = qobject_cast<ScreenFrame *>(window())) {
        frame->setMessageLine(text);
        frame->msgLabel()->repaint();
    }
}

void SoftwareUpdateMenu::updatePanelProgram()
{
    // Copied beside the program and checked there: the program the panel starts from is only
    // ever replaced whole, by a rename.
    const QString target = PanelPaths::data(QStringLiteral("/knit"));
    const QString staged = ProgramInstaller::stagedPath(target);
    QByteArray source;
    if (!StickImportDialog::openFileFromStick(staged, tr("人机交互程序升级 ... ..."), PanelPaths::usbRoot(),
                                             QStringLiteral("knit*"), this, &source))
        return;
    // The dialog let the stick go when it closed; the copy is checked against the stick's own
    // file, so the stick is mounted again for that.
    const bool installed = StickMount::mount()
        && ProgramInstaller::install(source, staged, target) == ProgramInstaller::Installed;
    StickMount::unmount();
    showMessage(this, installed ? tr(kDone) : ControllerMessages::text(ControllerMessages::kUpdateFailed));
}

void SoftwareUpdateMenu::updateController(const Controller &c)
{
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(ControllerMessages::kRunningNoUpdate));
        return;
    }
    if (!ControllerUpdate::enter(c.object)) {
        showMessage(this, ControllerMessages::text(ControllerMessages::kNoUpdateMode));
        return;
    }
    const QString image = PanelPaths::tmp(QString::fromUtf8(c.image));
    const bool copied = StickImportDialog::openFileFromStick(image, tr(c.caption), PanelPaths::usbRoot(),
                                                            QString::fromUtf8(c.filter), this);
    const bool sent = copied && TransferDialog::putFile(image);
    // After an image the controller answers the close only once it has programmed it; the
    // outcome is told after that, not before.
    bool closed;
    if (sent) {
        const QString waiting = QStringLiteral("<font color = red >") + ControllerMessages::text(c.waiting);
        closed = ControllerUpdate::waitProgrammed(c.object, [this, waiting] { status(waiting); });
        status(tr("控制器系统升级"));
    } else {
        closed = ControllerUpdate::leave(c.object);
    }
    if (copied || !closed)
        showMessage(this, sent && closed ? tr(kDone) : ControllerMessages::text(ControllerMessages::kUpdateFailed));
}

void SoftwareUpdateMenu::updateMaster()
{
    updateController(kMaster);
}

void SoftwareUpdateMenu::updateSlave()
{
    updateController(kSlave);
}

void SoftwareUpdateMenu::updateAll()
{
    UpdateFolderDialog::chooseFolderFromStick(PanelPaths::data(QStringLiteral("/knit")), tr("控制器程序全部升级 ... ..."),
                                      PanelPaths::usbRoot(), QStringLiteral("slv1*.bin knit* Master*.bin"), this);
}

void SoftwareUpdateMenu::updateDriver()
{
    const QString drivers = PanelPaths::data(QStringLiteral("/drivers"));
    if (!QDir(drivers).exists()) {
        const bool made = makeDirectory(drivers);
        showMessage(this, made ? tr("创建文件夹成功 !") : tr("创建文件夹失败 !"));
        if (!made)
            return;
    }
    // The module arrives under a staging name and is then renamed to its own name inside the
    // folder: the folder itself is never the copy's destination.
    const QString staged = drivers + QStringLiteral("/.driver.new");
    QByteArray source;
    if (!StickImportDialog::openFileFromStick(staged, tr("控制器驱动更新 ... ..."), PanelPaths::usbRoot(),
                                             QStringLiteral("*.o"), this, &source))
        return;
    const QByteArray name = source.mid(source.lastIndexOf('/') + 1);
    if (NativeFs::replace(QFile::encodeName(staged), NativeFs::join(QFile::encodeName(drivers), name)))
        showMessage(this, tr("控制器驱动更新升级完成, 请重新启动 !"));
    else
        showMessage(this, tr("导入文件失败 !"));
}
