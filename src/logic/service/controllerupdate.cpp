#include "controllerupdate.h"

#include "data/machinedata.h"
#include "logic/controller/updatebracket.h"
#include "platform/panelenv.h"

#include <QElapsedTimer>

namespace {

// A try that failed at once (no route, a refused port) waits the rest of this before the
// next, so the loops never spin.
constexpr int kMinTryMs = 500;

UpdateBracket closing(int object)
{
    return UpdateBracket(object).withFloor(kMinTryMs);
}

} // namespace

bool ControllerUpdate::enter(int object)
{
    return UpdateBracket(object).open();
}

bool ControllerUpdate::leave(int object)
{
    return closing(object).closeRetrying();
}

bool ControllerUpdate::waitProgrammed(int object, const std::function<void()> &paint)
{
    const UpdateBracket bracket = closing(object);
    QElapsedTimer clock;
    clock.start();
    const int limit = PanelEnv::scaledMs(kProgrammingMs);
    do {
        if (paint)
            paint();
        if (bracket.close())
            return true;
    } while (clock.elapsed() < limit);
    return false;
}

QString ControllerUpdate::masterVersion(const MachineData &data)
{
    using namespace Protocol;
    QString text = QStringLiteral("%1.%2.%3")
                       .arg(data.controllerState().byte(MasterVersionByte))
                       .arg(data.controllerState().byte(MasterVersionByte + 1))
                       .arg(data.controllerState().byte(MasterVersionByte + 2));
    for (std::size_t i = MasterEditionByte; i <= MasterEditionEnd; ++i) {
        const unsigned char c = data.controllerState().byte(i);
        if (c < 0x21 || c > 0x7e)
            break;
        text += QLatin1Char(char(c));
    }
    return text;
}

QString ControllerUpdate::slaveVersion(const MachineData &data)
{
    return QStringLiteral("%1.%2").arg(data.controllerState().byte(Protocol::SlaveMajorByte)).arg(data.controllerState().byte(Protocol::SlaveMinorByte));
}
