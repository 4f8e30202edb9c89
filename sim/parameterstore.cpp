#include "parameterstore.h"

#include "simstate.h"

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
        system(state, kDensityWord + index, value);
        break;
    case 8:
        if (index < kRackingMoves) {
            system(state, kRackingWord + index, value);
        } else if (index >= kRackingColumns && index < kRackingColumns + 3) {
            // A column is 18 words of which 17 positions are used.
            const int column = index - kRackingColumns;
            for (int row = 0; row < 17; ++row)
                system(state, kRackingWord + 18 * column + row, value);
        }
        break;
    case 10:
        system(state, kAccelerationWord + index, value);
        break;
    case 16:
        state.updateFileWord(QStringLiteral("speed.mth"), kMouthSize, kCarrierWord + index, value);
        break;
    default:
        break;
    }
}

void ParameterStore::setAction(SimState &state, int code, quint16 argument)
{
    // file.knt words 7 and 8: completed pieces and the piece target.
    if (code == 6)
        state.updateFileWord(QStringLiteral("file.knt"), SimState::kKntSize, 8, argument);
    else if (code == 7)
        state.updateFileWord(QStringLiteral("file.knt"), SimState::kKntSize, 7, 0);
}
