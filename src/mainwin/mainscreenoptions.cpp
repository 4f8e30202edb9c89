// The picture keys' commands: zeroing and the running options of the controller. An option
// byte of the controller state changes only when the controller accepted the command, and the
// keys always show those bytes.
#include "mainscreen.h"

#include "data/machinedata.h"
#include "data/messagesteps.h"
#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "ui/operatordialogs.h"

namespace {

using namespace Protocol;

bool stopped()
{
    return ControllerCommands::stopped();
}

// The row-lock key may lock only near the start of the program.
constexpr unsigned short kLastLockableRow = 3;

} // namespace

void MainScreen::toggleZeroing()
{
    if (!stopped())
        return;
    if (!askYesNo(this, tr("是否执行系统归零 ?")))
        return;
    if (!stopped()) {
        showMessage(this, ControllerMessages::refusal(tr("正在运行, 系统不能归零 !")));
        return;
    }
    if (!ControllerCommands::send(HomeCommand, MachineObject, 0, 0))
        return;
    machineData_.controllerState().setByte(RunningByte, 0);
    paintQuickKeys();
    paintRow(0);
    showAlarmMessage(MessageSteps::zeroArmed(), QString());
}

void MainScreen::toggleRowLock()
{
    const bool locked = machineData_.controllerState().byte(LockByte) != 0;
    if (!locked && (machineData_.controllerState().word(RowWord) & RowMask) > kLastLockableRow)
        return;
    if (!stopped() || !ControllerCommands::action(RowLock, locked ? 0 : 1))
        return;
    machineData_.controllerState().setByte(LockByte, locked ? 0 : 1);
    paintQuickKeys();
}

void MainScreen::toggleOption(unsigned short action, std::size_t byte)
{
    const unsigned short next = machineData_.controllerState().byte(byte) == 0 ? 1 : 0;
    if (!stopped() || !ControllerCommands::action(action, next))
        return;
    machineData_.controllerState().setByte(byte, static_cast<unsigned char>(next));
    paintQuickKeys();
}

void MainScreen::toggleSpeed()
{
    toggleOption(SpeedSwitch, SpeedByte);
}

void MainScreen::togglePieces()
{
    toggleOption(PieceSwitch, PieceByte);
}

void MainScreen::toggleErrorReports()
{
    toggleOption(ErrorDisable, ErrorByte);
}

void MainScreen::toggleCarrierSwitch()
{
    if (!stopped())
        return;
    // The controller answers with the switch it actually set; that is what the key shows.
    unsigned short value = machineData_.controllerState().byte(CarrierByte) == 0 ? 1 : 0;
    if (!ControllerCommands::query(ActionCommand, MachineObject, CarrierSwitch, &value))
        return;
    machineData_.controllerState().setByte(CarrierByte, value != 0 ? 1 : 0);
    paintQuickKeys();
}
