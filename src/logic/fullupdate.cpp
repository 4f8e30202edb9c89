#include "fullupdate.h"

#include "controllermessages.h"
#include "controllerupdate.h"

#include "data/updatepackage.h"
#include "data/protocol.h"
#include "link/commands.h"
#include "platform/nativefs.h"
#include "platform/programinstaller.h"

#include <QFile>

#include <unistd.h>

namespace {

const char kFailed[] = "升级失败, 请重试 !";

} // namespace

bool FullUpdate::flash(int object, const QByteArray &image, const QString &waiting)
{
    if (getmotostatus() != 0) {
        op_.tell(ControllerMessages::refusal("机头正在运行, 不能升级 !"));
        return false;
    }
    if (!ControllerUpdate::enter(object)) {
        op_.tell(QStringLiteral("进入升级界面, 请重试 !"));
        return false;
    }
    if (!transfer_.put(QFile::decodeName(image))) {
        // The controller keeps its program; it must not stay in its update mode either.
        ControllerUpdate::leave(object);
        op_.tell(QString::fromUtf8(kFailed));
        return false;
    }
    op_.status(QStringLiteral("<font color = red >") + waiting);
    const bool done = ControllerUpdate::waitProgrammed(object, [this, waiting] {
        op_.status(QStringLiteral("<font color = red >") + waiting);
    });
    op_.status(QString());
    if (!done)
        op_.tell(QString::fromUtf8(kFailed));
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
        op_.tell(QString::fromUtf8(refusal));
        return false;
    }
    const QString question = QStringLiteral("主控: ") + QFile::decodeName(s.masterName) + QStringLiteral("  从控: ")
        + QFile::decodeName(s.slaveName) + QStringLiteral("  显示: ") + QFile::decodeName(s.panelName)
        + QStringLiteral("     开始升级吗?");
    if (!op_.ask(question))
        return false;
    const QString staged = ProgramInstaller::stagedPath(target);
    const QByteArray panel = NativeFs::join(folder, s.panelName);
    if (!op_.copy(panel, staged) || ProgramInstaller::verify(panel, staged) != ProgramInstaller::Installed) {
        ::unlink(QFile::encodeName(staged).constData());
        op_.tell(QString::fromUtf8(kFailed));
        return false;
    }
    const bool flashed = flash(ControllerUpdate::kSlave, NativeFs::join(folder, s.slaveName),
                               QStringLiteral("正在烧写从控制器程序, 请等待大约30秒 !( 不要进行其它操作 )"))
        && flash(ControllerUpdate::kMaster, NativeFs::join(folder, s.masterName),
                 QStringLiteral("正在烧写主控制器程序, 请等待大约15秒 !( 不要进行其它操作 )"));
    if (!flashed) {
        ::unlink(QFile::encodeName(staged).constData());
        return false;
    }
    if (ProgramInstaller::commit(staged, target) != ProgramInstaller::Installed) {
        op_.tell(QStringLiteral("复制从控制器文件失败 !"));
        return false;
    }
    if (!op_.ask(QStringLiteral("升级完成, 是否关闭控制系统 ? ")))
        return true;
    if (getmotostatus() != 0)
        op_.tell(ControllerMessages::refusal("机头正在运行, 不能关机 ! "));
    else if (setparacom(Protocol::ActionCommand, Protocol::MachineObject, Protocol::ShutDown, 0))
        op_.tell(QStringLiteral("正在关机, 请稍等 ... ... "));
    else
        op_.tell(QStringLiteral("不能关机, 请检查主控制器 !"));
    return true;
}
