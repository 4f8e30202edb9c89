#include "testentry.h"

#include "data/testblocks.h"
#include "link/commands.h"
#include "platform/panelpaths.h"

#include <QFile>

namespace {

constexpr unsigned char kModeCommand = 0x20;
// A test file is a few dozen bytes; more than this is not one.
constexpr qint64 kReadLimit = 4096;

} // namespace

TestEntry::Result TestEntry::enter(TestDatagram::Test test, const Fetch &fetch)
{
    if (getmotostatus() != 0)
        return Running;
    if (setparacom(kModeCommand, TestDatagram::modeOf(test), 1, 0) != 1)
        return Refused;
    const QString path = PanelPaths::tmp(test == TestDatagram::InputOutput ? QStringLiteral("/io.tst") : QStringLiteral("/moto.tst"));
    if (!fetch(path))
        return NotFetched;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NotWhole;
    const QByteArray bytes = file.read(kReadLimit);
    const bool whole = test == TestDatagram::InputOutput ? TestBlocks::loadIo(bytes) : TestBlocks::loadMoto(bytes);
    return whole ? Entered : NotWhole;
}

bool TestEntry::leave(TestDatagram::Test test)
{
    for (int i = 0; i < kLeaveTries; ++i) {
        if (setparacom(kModeCommand, TestDatagram::modeOf(test), 0, 0) == 1)
            return true;
    }
    return false;
}

QString TestEntry::failureText(Result result)
{
    return QStringLiteral("进入测试界面失败-%1, 请重试 !").arg(int(result));
}
