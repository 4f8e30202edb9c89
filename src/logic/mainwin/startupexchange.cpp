#include "startupexchange.h"

#include "data/cntfile.h"
#include "data/jobname.h"
#include "data/machinedata.h"
#include "data/patfile.h"
#include "data/protocol.h"
#include "link/commands.h"
#include "logic/controller/controllermessages.h"
#include "logic/files/jobfolders.h"
#include "logic/files/jobsender.h"
#include "platform/panelpaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray readAtMost(const QString &path, qint64 size, bool *opened)
{
    QFile f(path);
    *opened = f.open(QIODevice::ReadOnly);
    return *opened ? f.read(size) : QByteArray();
}

// First offset in [from, size) where the two images differ, or -1.
int firstDifference(const unsigned char *a, const unsigned char *b, int from, int size)
{
    for (int i = from; i < size; ++i) {
        if (a[i] != b[i])
            return i;
    }
    return -1;
}

QString text(const char *source)
{
    return QCoreApplication::translate("StartupExchange", source);
}

// What differs between the two comparisons of the exchange.
struct Check
{
    const char *cannotOpen;
    const char *cannotCopy;
    const char *mismatch;
    unsigned char mark;
};
const Check kSystemCheck{QT_TRANSLATE_NOOP("StartupExchange", "打开系统参数校验文件失败 !"),
                         QT_TRANSLATE_NOOP("StartupExchange", "复制系统参数校验文件失败 !"),
                         //: %1 is the byte's offset, %2 and %3 the two values that differ
                         QT_TRANSLATE_NOOP("StartupExchange", "系统参数校验失败! - %1 - %2 - %3. 是否关机 ?"), 1};
const Check kConfigCheck{QT_TRANSLATE_NOOP("StartupExchange", "打开个性化校验文件失败 !"),
                         QT_TRANSLATE_NOOP("StartupExchange", "复制个性化参数校验文件失败 !"),
                         //: %1 is the byte's offset, %2 and %3 the two values that differ
                         QT_TRANSLATE_NOOP("StartupExchange", "个性化校验文件失败! - %1 - %2 - %3. 是否关机 ?"), 2};

} // namespace

StartupExchange::Link StartupExchange::Link::controller(FileTransfer transfer)
{
    Link link;
    link.transfer = std::move(transfer);
    link.command = [](unsigned char cmd, unsigned char object, unsigned short v1, unsigned short v2) {
        return setParameter(cmd, object, v1, v2) == Protocol::Answered;
    };
    link.motoStatus = [] { return queryCarriageStatus(); };
    return link;
}

StartupExchange::Machine StartupExchange::machineOf(unsigned int motoStatus)
{
    if (motoStatus == kNoMotoStatus)
        return Machine::Offline;
    return motoStatus != 0 ? Machine::Running : Machine::Stopped;
}

bool StartupExchange::fetch(const QString &name, int size, QByteArray *out)
{
    const QString path = PanelPaths::tmp(QLatin1Char('/') + name);
    bool opened = false;
    if (link_.transfer.get(path))
        *out = readAtMost(path, size, &opened);
    // A block shorter than its size would leave stale bytes behind: count it as no answer.
    if (!opened || out->size() != size) {
        connected_ = false;
        op_.tell(ControllerMessages::connectionFailed());
        return false;
    }
    return true;
}

void StartupExchange::run()
{
    QByteArray block;
    if (!fetch(QStringLiteral("file.sys"), int(kSystemSize), &block))
        return;
    data_.system().fill(block);
    if (!compare(QStringLiteral("file.sys"), QStringLiteral("/para/checksystem.sys"), block, 2, true))
        return;

    if (!fetch(QStringLiteral("config.cfg"), int(kConfigCheckSize), &block))
        return;
    data_.controllerPersonalisation().fill(block);
    if (!compare(QStringLiteral("config.cfg"), QStringLiteral("/para/checkconfig.cfg"), block, 0, false))
        return;

    if (!fetch(QStringLiteral("file.knt"), int(kCurSize), &block))
        return;
    auto &state = data_.controllerState();
    state.fill(block);

    QByteArray nameBytes;
    for (std::size_t i = Protocol::JobNameByte; i < Protocol::JobNameByte + Protocol::JobNameMax && state.byte(i) != 0; ++i)
        nameBytes.append(char(state.byte(i)));
    data_.setJobName(data_.jobName() + JobName::decode(nameBytes));

    if (state.byte(Protocol::JobSentByte) != 0)
        return;
    if (data_.jobName().isEmpty()) {
        op_.tell(text(QT_TRANSLATE_NOOP("StartupExchange", "没有编织文件, 请选择 !")));
        return;
    }
    checkAndSend(data_.jobName());
}

bool StartupExchange::compare(const QString &fetched, const QString &reference, const QByteArray &block, int from,
                              bool system)
{
    const Check &check = system ? kSystemCheck : kConfigCheck;
    const QString path = PanelPaths::data(reference);
    bool opened = false;
    const QByteArray copy = readAtMost(path, block.size(), &opened);
    if (!opened) {
        op_.tell(text(check.cannotOpen));
        if (!op_.copy(PanelPaths::tmp(QLatin1Char('/') + fetched), path))
            op_.tell(text(check.cannotCopy));
        return true;
    }
    // A short check copy compares as zeros past its end.
    const QByteArray ref = copy.leftJustified(block.size(), '\0', true);
    if (!system) {
        ParamBlock<kConfigCheckSize> copied;
        copied.fill(copy);
        data_.panelPersonalisation().assign(copied);
    }
    const auto *got = reinterpret_cast<const unsigned char *>(block.constData());
    const auto *kept = reinterpret_cast<const unsigned char *>(ref.constData());
    const int i = firstDifference(kept, got, from, int(block.size()));
    if (i < 0)
        return true;
    // The system question names the check copy's byte first, the personalisation question the
    // controller's.
    const int first = system ? kept[i] : got[i];
    const int second = system ? got[i] : kept[i];
    if (op_.ask(text(check.mismatch).arg(i).arg(first).arg(second))) {
        shutDown();
        return false;
    }
    checkresult_ |= check.mark;
    return true;
}

void StartupExchange::checkAndSend(const QString &name)
{
    // A name that is not one plain path component is treated as a job that is not on disk.
    const bool safe = JobName::isSafe(name);
    const QString wrk = JobFolders::file(name, QStringLiteral(".wrk"));
    const QString cnt = JobFolders::file(name, QStringLiteral(".cnt"));
    const QString pat = JobFolders::file(name, QStringLiteral(".pat"));

    if (!safe || !QFileInfo::exists(wrk)) {
        op_.tell(JobSender::missing(QStringLiteral(".wrk")));
        return;
    }
    if (!QFileInfo::exists(cnt)) {
        op_.tell(JobSender::missing(QStringLiteral(".cnt")));
        return;
    }
    if (!QFileInfo::exists(pat)) {
        op_.tell(JobSender::missing(QStringLiteral(".pat")));
        return;
    }
    const int cntResult = checkCntFile(cnt);
    if (!CntFile::isAccepted(cntResult)) {
        op_.tell(CntFile::message(cntResult));
        return;
    }
    const int patResult = checkPatFile(pat);
    if (!PatFile::isAccepted(patResult)) {
        op_.tell(PatFile::message(patResult));
        return;
    }
    // The controller may lack the job now: the operator sends it again with F3.
    if (const QString failed = JobSender::upload(name, link_.transfer); !failed.isEmpty())
        op_.tell(failed);
}

void StartupExchange::shutDown()
{
    if (const unsigned int status = link_.motoStatus(); status != 0) {
        op_.tell(ControllerMessages::refusal(status, ControllerMessages::kRunningNoShutDown));
        return;
    }
    if (link_.command(Protocol::ActionCommand, Protocol::MachineObject, Protocol::ShutDown, 0))
        op_.tell(ControllerMessages::text(ControllerMessages::kShuttingDown));
    else
        op_.tell(ControllerMessages::text(ControllerMessages::kNoShutDown));
}

StartupExchange::Machine StartupExchange::close()
{
    link_.command(Protocol::UpdateCommand, data_.controllerState().byte(Protocol::HeldGroupByte), Protocol::Close, 0);
    return machineOf(link_.motoStatus());
}
