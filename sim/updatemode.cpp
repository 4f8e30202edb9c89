#include "updatemode.h"

#include "controlserver.h"
#include "simstate.h"
#include "tftpserver.h"

#include "data/protocol.h"
#include "link/commanddatagram.h"
#include "platform/atomicfile.h"

#include <QFile>

UpdateMode::UpdateMode(SimState *state, QObject *parent)
    : QObject(parent), state_(state)
{
    clock_.start();
    open_[Protocol::MasterUpdate] = false;
    open_[Protocol::SlaveUpdate] = false;
}

void UpdateMode::attach(TftpServer &tftp)
{
    connect(&tftp, &TftpServer::received, this, &UpdateMode::onReceived);
}

bool UpdateMode::handle(const QByteArray &d, QByteArray *answer)
{
    if (d.size() != CommandDatagram::kSize || quint8(d[0]) != Protocol::UpdateCommand
        || !open_.contains(quint8(d[Protocol::ObjectByte])))
        return false;
    const int object = quint8(d[5]);
    const int value = quint8(d[6]) | (quint8(d[7]) << 8);
    if (value == 0 && clock_.elapsed() < programmedAt_.value(object, 0)) {
        answer->clear();
        return true;
    }
    open_[object] = value == 1;
    *answer = d;
    (*answer)[8] = 0;
    (*answer)[9] = 0;
    return true;
}

void UpdateMode::powerOff()
{
    open_[Protocol::MasterUpdate] = false;
    open_[Protocol::SlaveUpdate] = false;
    programmedAt_.clear();
}

void UpdateMode::onReceived(const QString &name)
{
    QFile file(state_->filePath(name));
    const qint64 size = file.size();
    if (name.endsWith(QLatin1String(".sys"), Qt::CaseInsensitive) && name != QLatin1String("file.sys")
        && size == SimState::kSysSize && file.open(QIODevice::ReadOnly))
        AtomicFile::save(state_->filePath(QStringLiteral("file.sys")), file.readAll());
    for (auto it = open_.cbegin(); it != open_.cend(); ++it) {
        if (!it.value())
            continue;
        images_[name] = size;
        programmedAt_[it.key()] = clock_.elapsed() + flashMs_;
    }
}

void UpdateMode::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("set flash"), [this](const QStringList &args) {
        int ms = 0;
        if (!ControlServer::oneNumber(args, 0, kMaxFlashMs, &ms))
            return ControlReply::fail(QStringLiteral("usage: set flash MS (0 to %1)").arg(kMaxFlashMs));
        flashMs_ = ms;
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        QStringList lines;
        for (auto it = open_.cbegin(); it != open_.cend(); ++it)
            lines << QStringLiteral("update %1 %2").arg(it.key()).arg(it.value() ? "open" : "closed");
        for (auto it = images_.cbegin(); it != images_.cend(); ++it)
            lines << QStringLiteral("image %1 %2").arg(it.key()).arg(it.value());
        return ControlReply::ok(lines);
    });
}
