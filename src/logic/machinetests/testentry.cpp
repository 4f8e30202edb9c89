#include "testentry.h"

#include "data/testblocks.h"
#include "link/commands.h"
#include "link/testdatagram.h"
#include "logic/controller/controllermessages.h"
#include "logic/controller/updatebracket.h"
#include "platform/panelpaths.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// A test file is a few dozen bytes; more than this is not one.
constexpr qint64 kReadLimit = 4096;

} // namespace

TestEntry::Result TestEntry::enter(MachineData &data, Protocol::TestKind test, const Fetch &fetch)
{
    if (queryCarriageStatus() != 0)
        return Running;
    if (!UpdateBracket(TestDatagram::modeOf(test)).open())
        return Refused;
    const QString path = PanelPaths::tmp(test == TestDatagram::InputOutput ? QStringLiteral("/io.tst") : QStringLiteral("/moto.tst"));
    if (!fetch(path))
        return NotFetched;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NotWhole;
    const QByteArray bytes = file.read(kReadLimit);
    const bool whole = test == TestDatagram::InputOutput ? TestBlocks::loadIo(data, bytes) : TestBlocks::loadMoto(data, bytes);
    return whole ? Entered : NotWhole;
}

bool TestEntry::leave(Protocol::TestKind test)
{
    return UpdateBracket(TestDatagram::modeOf(test)).closeRetrying();
}

QString TestEntry::failureText(Result result)
{
    const QString text = QCoreApplication::translate("TestEntry", "进入测试界面失败-%1, 请重试 !").arg(int(result));
    return result == Running ? ControllerMessages::refusal(text) : text;
}
