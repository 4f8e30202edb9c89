#include "parameterstore.h"

#include "simstate.h"

#include "data/blocksizes.h"
#include "data/densitybackup.h"
#include "data/carrierspeedtable.h"
#include "data/protocol.h"
#include "data/rackingvalue.h"

namespace {

const char kSys[] = "file.sys";

void system(SimState &state, int word, quint16 value)
{
    state.updateFileWord(QLatin1String(kSys), SimState::kSysSize, word, value);
}

} // namespace

void ParameterStore::setValue(SimState &state, int group, int index, quint16 value)
{
    switch (group) {
    case 0:
        system(state, kSystemWord + index, value);
        break;
    case 7:
        system(state, DensityBackup::kSystemWord + index, value);
        break;
    case 8:
        if (index < RackingValue::kMoveIndex) {
            system(state, RackingValue::kFirstWord + index, value);
        } else if (index >= RackingValue::kColumnIndex && index < RackingValue::kColumnIndex + RackingValue::kColumns) {
            const int column = index - RackingValue::kColumnIndex;
            for (int row = 0; row < RackingValue::kPositions; ++row)
                system(state, RackingValue::word(column, row), value);
        }
        break;
    case 10:
        system(state, kAccelerationWord + index, value);
        break;
    case 16:
        state.updateFileWord(QStringLiteral("speed.mth"), int(kCarrierSpeedSize), CarrierSpeedTable::kRightWord + index, value);
        break;
    default:
        break;
    }
}

void ParameterStore::setAction(SimState &state, int code, quint16 argument)
{
    // The piece target, and the completed pieces cleared.
    if (code == Protocol::SetPieces)
        state.updateFileWord(QStringLiteral("file.knt"), SimState::kKntSize, Protocol::PiecesWord, argument);
    else if (code == Protocol::ClearPieces)
        state.updateFileWord(QStringLiteral("file.knt"), SimState::kKntSize, Protocol::PiecesDoneWord, 0);
}
