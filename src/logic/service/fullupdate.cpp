#include "fullupdate.h"

#include "controllerupdate.h"

#include "data/protocol.h"
#include "data/updatepackage.h"
#include "link/commands.h"
#include "logic/controller/controllermessages.h"
#include "platform/nativefs.h"
#include "platform/programinstaller.h"

#include <QFile>

#include <unistd.h>

bool FullUpdate::flash(int object, const QByteArray &image, const QString &waiting)
{
    if (queryCarriageStatus() != 0) {
        op_.tell(ControllerMessages::refusal(ControllerMessages::kRunningNoUpdate));
        return false;
    }
    if (!ControllerUpdate::enter(object)) {
        op_.tell(ControllerMessages::text(ControllerMessages::kNoUpdateMode));
        return false;
    }
    if (!transfer_.put(QFile::decodeName(image))) {
        // The controller keeps its program; it must not stay in its update mode either.
        ControllerUpdate::leave(object);
        op_.tell(ControllerMessages::text(ControllerMessages::kUpdateFailed));
        return false;
    }
    op_.status(QStringLiteral("<font color = red >") + waiting);
    const bool done = ControllerUpdate::waitProgrammed(object, [this, waiting] {
        op_.status(QStringLiteral("<font color = red >") + waiting);
    });
    op_.status(QString());
    if (!done)
        op_.tell(ControllerMessages::text(ControllerMessages::kUpdateFailed));
    return done;
}

bool FullUpdate::run(const QByteArray &folder, const QString &target)
{
    QList<NativeFs::Entry> entries;
    NativeFs::list(folder, &entries);
    QList<QByteArray> files;
    for (const NativeFs::Entry &e : entries) {
        if (!e.dir)
            files.append(e.name);
    }
    const UpdatePackage::Scan s = UpdatePackage::scan(files);
    if (const char *refusal = UpdatePackage::refusal(s)) {
        op_.tell(QCoreApplication::translate("UpdatePackage", refusal));
        return false;
    }
    //: %1, %2, %3: the main controller's, the slave controller's and the panel's file names
    const QString question = tr("主控: %1  从控: %2  显示: %3     开始升级吗?")
                                 .arg(QFile::decodeName(s.masterName), QFile::decodeName(s.slaveName),
                                      QFile::decodeName(s.panelName));
    if (!op_.ask(question))
        return false;
    const QString staged = ProgramInstaller::stagedPath(target);
    const QByteArray panel = NativeFs::join(folder, s.panelName);
    if (!op_.copy(panel, staged) || ProgramInstaller::verify(panel, staged) != ProgramInstaller::Installed) {
        ::unlink(QFile::encodeName(staged).constData());
        op_.tell(ControllerMessages::text(ControllerMessages::kUpdateFailed));
        return false;
    }
    const bool flashed = flash(ControllerUpdate::kSlave, NativeFs::join(folder, s.slaveName),
                               ControllerMessages::text(ControllerMessages::kSlaveFlashing))
        && flash(ControllerUpdate::kMaster, NativeFs::join(folder, s.masterName),
                 ControllerMessages::text(ControllerMessages::kMasterFlashing));
    if (!flashed) {
        ::unlink(QFile::encodeName(staged).constData());
        return false;
    }
    if (ProgramInstaller::commit(staged, target) != ProgramInstaller::Installed) {
        op_.tell(tr("复制从控制器文件失败 !"));
        return false;
    }
    if (!op_.ask(tr("升级完成, 是否关闭控制系统 ? ")))
        return true;
    if (queryCarriageStatus() != 0)
        op_.tell(ControllerMessages::refusal(ControllerMessages::kRunningNoShutDown));
    else if (setParameter(Protocol::ActionCommand, Protocol::MachineObject, Protocol::ShutDown, 0))
        op_.tell(ControllerMessages::text(ControllerMessages::kShuttingDown));
    else
        op_.tell(ControllerMessages::text(ControllerMessages::kNoShutDown));
    return true;
}
