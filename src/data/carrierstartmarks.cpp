#include "carrierstartmarks.h"

#include "cntprogram.h"
#include "machinedata.h"
#include "protocol.h"

namespace {

constexpr int kRowsWord = Protocol::RowsWord;
constexpr int kPiecesWord = Protocol::PieceCountWord;
constexpr int kReplaceWord = Protocol::CarrierReplacementWord;
constexpr int kReplacementWord = 696;
constexpr unsigned char kActive = 0x80;

void mark(CarrierStartMarks::Strip &strip, int carrier, int row)
{
    // Odd rows knit from the left, even rows from the right.
    if (row % 2)
        strip.left[std::size_t(carrier)] = true;
    else
        strip.right[std::size_t(carrier)] = true;
}

} // namespace

CarrierStartMarks::Rows CarrierStartMarks::firstRows(const MachineData &data)
{
    Rows first{};
    const int rows = data.controllerState().word(kRowsWord);
    CntRow row{};
    for (int r = 1; r <= rows; ++r) {
        if (!CntProgram::row(data, r, &row))
            break;
        for (const CntCarrierSelect &m : row.mouth) {
            if (!(m.mouth_flag & kActive))
                continue;
            for (int c = 0; c < kCarriers; ++c) {
                if ((m.mouth_mask & (1 << c)) && first[std::size_t(c)] == 0)
                    first[std::size_t(c)] = r;
            }
        }
    }
    return first;
}

CarrierStartMarks::Strip CarrierStartMarks::look(const Rows &first, bool replaceOn, int pieces, const std::array<int, kCarriers> &replacement)
{
    Strip strip;
    const bool replacing = replaceOn && pieces < 2;
    for (int c = 0; c < kCarriers; ++c) {
        const int row = first[std::size_t(c)];
        if (row == 0)
            continue;
        if (!replacing) {
            mark(strip, c, row);
            continue;
        }
        const int by = replacement[std::size_t(c)];
        // The replacing carrier's other side is lightened: of two carriers it replaces, the later wins.
        if (by >= 1 && by <= kCarriers) {
            strip.left[std::size_t(by - 1)] = row % 2;
            strip.right[std::size_t(by - 1)] = !(row % 2);
        }
    }
    return strip;
}

CarrierStartMarks::Strip CarrierStartMarks::current(const MachineData &data, const Rows &first)
{
    std::array<int, kCarriers> replacement{};
    for (int c = 0; c < kCarriers; ++c)
        replacement[std::size_t(c)] = data.work().word(std::size_t(kReplacementWord + c));
    return look(first, data.system().word(kReplaceWord) != 0, data.system().word(kPiecesWord), replacement);
}
