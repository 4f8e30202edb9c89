#include "jobreceiver.h"

#include "controlserver.h"
#include "knitsimulation.h"
#include "simstate.h"
#include "startupservice.h"
#include "tftpserver.h"

#include "data/jobname.h"
#include "data/protocol.h"

#include <QFile>
#include <QFileInfo>

namespace {

const char *const kParts[] = {"wrk", "cnt", "pat"};
constexpr int kAllParts = 7;

} // namespace

JobReceiver::JobReceiver(SimState *state, StartupService *startup, KnitSimulation *knitting, QObject *parent)
    : QObject(parent), state_(state), startup_(startup), knitting_(knitting)
{
    state_->setGroupListener([this](int group, bool open) { onGroup(group, open); });
}

void JobReceiver::attach(TftpServer &tftp)
{
    connect(&tftp, &TftpServer::received, this, &JobReceiver::onReceived);
}

void JobReceiver::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        const QString name = job();
        return ControlReply::ok({QStringLiteral("job ") + (name.isEmpty() ? QStringLiteral("-") : name)});
    });
}

QString JobReceiver::job() const
{
    QFile f(state_->filePath(QStringLiteral("file.knt")));
    const QByteArray knt = f.open(QIODevice::ReadOnly) ? f.read(SimState::kKntSize) : QByteArray();
    return JobName::decode(knt.mid(Protocol::JobNameByte).split('\0').value(0));
}

void JobReceiver::onGroup(int group, bool open)
{
    // Each opening of the job group starts a new job transfer.
    if (group == Protocol::JobGroup && open)
        arrived_.clear();
}

void JobReceiver::onReceived(const QString &file)
{
    if (!state_->isGroupOpen(Protocol::JobGroup))
        return;
    const QFileInfo info(file);
    const QString name = info.completeBaseName();
    for (int i = 0; i < 3; ++i) {
        if (info.suffix() == QLatin1String(kParts[i]))
            arrived_[name] |= 1 << i;
    }
    if (arrived_.value(name) != kAllParts)
        return;
    arrived_.remove(name);
    QString why;
    startup_->setJob(name, &why);
    knitting_->loadProgram(name, &why);
}
