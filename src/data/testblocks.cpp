#include "testblocks.h"

#include "machinedata.h"

int TestBlocks::groupSystem(int group)
{
    static const int systems[kBedGroups] = {1, 3, 0, 2};
    return group >= 0 && group < kBedGroups ? systems[group] : -1;
}

int TestBlocks::motoFileWord(int system, int kind)
{
    if (system < 0 || system >= kBedGroups || kind < 0 || kind >= kKinds)
        return -1;
    if (kind < 2)
        return 2 * system + kind;
    if (kind < 4)
        return 8 + 2 * system + (kind - 2);
    return 16 + system;
}

bool TestBlocks::loadIo(MachineData &data, const QByteArray &file)
{
    if (file.size() < kIoFileSize)
        return false;
    data.ioTest().fill(file.left(kIoFileSize));
    return true;
}

bool TestBlocks::loadMoto(MachineData &data, const QByteArray &file)
{
    if (file.size() < kMotoFileSize)
        return false;
    // The words past the placed ones (the extra states from byte 52 on) keep the file's bytes.
    ParamBlock<kTestMotoSize> block;
    block.fill(file.left(kMotoFileSize));
    auto fileWord = [&file](int w) { return static_cast<unsigned short>(quint8(file[2 * w]) | (quint8(file[2 * w + 1]) << 8)); };
    for (int group = 0; group < kBedGroups; ++group) {
        for (int kind = 0; kind <= kKinds; ++kind) {
            const int from = motoFileWord(groupSystem(group), kind);
            block.setWord(std::size_t(motoBlockWord(group, kind)), from >= 0 ? fileWord(from) : 0);
        }
    }
    for (int set = 0; set < kGuideSets; ++set)
        block.setWord(std::size_t(guideBlockWord(set)), fileWord(guideFileWord(set)));
    data.carriageTest().assign(block);
    return true;
}
