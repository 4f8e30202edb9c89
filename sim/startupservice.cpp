#include "startupservice.h"

#include "controlserver.h"
#include "simstate.h"

#include "data/jobname.h"
#include "data/protocol.h"
#include "platform/atomicfile.h"

#include <QFile>

namespace {


QByteArray readKnt(const QString &path)
{
    QFile f(path);
    QByteArray b = f.open(QIODevice::ReadOnly) ? f.read(SimState::kKntSize) : QByteArray();
    b.resize(SimState::kKntSize, '\0');
    return b;
}

} // namespace

StartupService::StartupService(SimState *state)
    : state_(state)
{
}

bool StartupService::setJob(const QString &name, QString *error)
{
    // The name is stored as the controller would hold it: raw bytes, not checked, so tests
    // can hand the panel hostile names too.
    const QByteArray bytes = JobName::encode(name);
    if (bytes.size() > qsizetype(Protocol::JobNameMax)) {
        *error = QStringLiteral("job name longer than %1 bytes").arg(Protocol::JobNameMax);
        return false;
    }
    const QString path = state_->filePath(QStringLiteral("file.knt"));
    QByteArray knt = readKnt(path);
    for (int i = Protocol::JobNameByte; i < SimState::kKntSize; ++i)
        knt[i] = '\0';
    knt.replace(Protocol::JobNameByte, bytes.size(), bytes);
    return AtomicFile::save(path, knt, error);
}

bool StartupService::setKntByte(int offset, int value, QString *error)
{
    if (offset < 0 || offset >= SimState::kKntSize || value < 0 || value > 255) {
        *error = QStringLiteral("offset 0-291 and value 0-255 expected");
        return false;
    }
    const QString path = state_->filePath(QStringLiteral("file.knt"));
    QByteArray knt = readKnt(path);
    knt[offset] = char(value);
    return AtomicFile::save(path, knt, error);
}

void StartupService::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("set job"), [this](const QStringList &args) {
        QString why;
        return setJob(args.join(QLatin1Char(' ')), &why) ? ControlReply::ok() : ControlReply::fail(why);
    });
    control.registerCommand(QStringLiteral("set knt"), [this](const QStringList &args) {
        bool okOffset = false;
        bool okValue = false;
        const int offset = args.value(0).toInt(&okOffset, 0);
        const int value = args.value(1).toInt(&okValue, 0);
        QString why = QStringLiteral("usage: set knt OFFSET VALUE");
        if (args.size() == 2 && okOffset && okValue && setKntByte(offset, value, &why))
            return ControlReply::ok();
        return ControlReply::fail(why);
    });
}
