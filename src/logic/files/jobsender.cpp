#include "jobsender.h"

#include "jobfolders.h"

#include "data/cntfile.h"
#include "data/importedversions.h"
#include "data/jobevents.h"
#include "data/machinedata.h"
#include "data/patfile.h"
#include "data/workfile.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "platform/panelpaths.h"

#include <QFile>
#include <QFileInfo>

namespace {

struct Upload
{
    const char *ext;
    const char *failed;
};

const Upload kUploads[] = {
    {".wrk", QT_TRANSLATE_NOOP("JobSender", "上传wrk文件失败 !")},
    {".cnt", QT_TRANSLATE_NOOP("JobSender", "上传cnt文件失败 !")},
    {".pat", QT_TRANSLATE_NOOP("JobSender", "上传pat文件失败 !")},
};

JobSender::Result failure(const QString &text)
{
    return {false, text};
}

} // namespace

QString JobSender::refusal(const QString &name)
{
    for (const char *ext : {".cnt", ".pat", ".wrk"}) {
        if (!QFileInfo::exists(JobFolders::file(name, QLatin1String(ext))))
            return missing(QLatin1String(ext));
    }
    const QString cnt = damaged(JobFolders::file(name, QStringLiteral(".cnt")));
    return cnt.isEmpty() ? damaged(JobFolders::file(name, QStringLiteral(".pat"))) : cnt;
}

QString JobSender::missing(const QString &ext)
{
    return tr("缺少%1 文件,请重新导入 !").arg(ext);
}

QString JobSender::damaged(const QString &path)
{
    if (path.endsWith(QLatin1String(".cnt"))) {
        const int result = checkCntFile(path);
        return CntFile::isAccepted(result) ? QString() : CntFile::message(result);
    }
    const int result = checkPatFile(path);
    return PatFile::isAccepted(result) ? QString() : PatFile::message(result);
}

QString JobSender::upload(const QString &name, const FileTransfer &transfer)
{
    for (const Upload &u : kUploads) {
        if (!transfer.put(JobFolders::file(name, QLatin1String(u.ext))))
            return tr(u.failed);
    }
    return QString();
}

bool JobSender::resetPieces(MachineData &data)
{
    // Another job starts with one piece and carrier replacement off.
    const UpdateBracket system(Protocol::SystemGroup);
    if (!system.openRetrying()) {
        // The opening may have reached the controller with its answers lost.
        system.close();
        return false;
    }
    bool reset = system.setRetrying(Protocol::PieceCountWord, 1);
    if (reset)
        data.system().setWord(Protocol::PieceCountWord, 1);
    reset = reset && system.setRetrying(Protocol::CarrierReplacementWord, 0);
    if (reset)
        data.system().setWord(Protocol::CarrierReplacementWord, 0);
    // Closed however far the values got, so the update never stays open there.
    return system.closeRetrying() && reset;
}

JobSender::Result JobSender::send(MachineData &data, const QString &name, const FileTransfer &transfer)
{
    const UpdateBracket job(kJobGroup);
    if (!job.open()) {
        // The opening may have reached the controller with its answer lost.
        job.close();
        return failure(ControllerMessages::connectionFailed());
    }
    if (const QString failed = upload(name, transfer); !failed.isEmpty()) {
        job.closeRetrying();
        return {false, failed};
    }
    if (!job.closeRetrying())
        return failure(ControllerMessages::connectionFailed());
    // The controller knits this job from here on: the panel names it too, whatever fails
    // below, and the message says which step did.
    const bool another = name != data.jobName();
    data.setJobName(name);
    const int version = ImportedVersions::version(name);
    JobEvents::reportToApplication(QStringLiteral("loaded"), JobFolders::dir(name), name, version,
                                   version > 0 ? QStringLiteral("library") : QStringLiteral("disk"));
    const auto late = [](const QString &text) { return Result{true, text}; };
    if (another && !resetPieces(data))
        return late(ControllerMessages::connectionFailed());
    const QString knt = PanelPaths::tmp(QStringLiteral("/file.knt"));
    if (!transfer.get(knt))
        return late(tr("获得配置文件失败 !"));
    QFile file(knt);
    // A short block would leave stale bytes of the old job in the controller state.
    const QByteArray block = file.open(QIODevice::ReadOnly) ? file.read(qint64(kCurSize)) : QByteArray();
    if (block.size() != int(kCurSize))
        return late(tr("打开配置文件失败 !"));
    data.controllerState().fill(block);
    //: %1 is the job's name
    return {true, tr("选择 %1 成功 !").arg(name)};
}

JobSender::Result JobSender::sendWork(MachineData &data, const QString &path, const FileTransfer &transfer)
{
    if (!ControllerCommands::stopped())
        return failure(ControllerMessages::refusal(tr("机头正在运行, 请先停止运行 !")));
    QByteArray block;
    if (!WorkFile::read(path, &block))
        return failure(tr("上传工作参数失败-2, 请重试 !"));
    if (!transfer.put(path))
        return failure(tr("上传工作参数失败-1, 请重试 !"));
    data.work().fill(block);
    return {true, QString()};
}
