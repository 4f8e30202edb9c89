#pragma once

#include <QByteArray>

class MachineData;

// The controller's test files and where their values land: io.tst is the input/output test
// block as it is; moto.tst holds the carriage test's values by knitting system, which the
// block holds by the page's groups.
class TestBlocks
{
public:
    static constexpr int kIoFileSize = 80;
    static constexpr int kMotoFileSize = 92;
    static constexpr int kBedGroups = 4; // groups 0-3 are needle beds, 4 and 5 yarn-guide sets
    static constexpr int kKinds = 5;     // elements of a bed group: motor, selector, cams, selector, motor
    static constexpr int kGuideSets = 2;

    // The knitting system group g (0-3) shows: 1, 3, 0, 2 (left back, right back, left front,
    // right front); -1 outside.
    static int groupSystem(int group);
    // The word of moto.tst that holds kind k (0-4) of system s (0-3): words 0-7 kinds 0 and 1,
    // 8-15 kinds 2 and 3, 16-19 kind 4, each by system; -1 outside.
    static int motoFileWord(int system, int kind);
    static int guideFileWord(int set) { return 20 + set; }
    // The word of the carriage test's block that holds kind k of group g, and yarn-guide set n.
    static int motoBlockWord(int group, int kind) { return 6 * group + kind; }
    static int guideBlockWord(int set) { return 24 + set; }

    // Fill data's input/output or carriage test block from a file's bytes. False, with the
    // block untouched, when the file is shorter than its block: a half-stale block would show
    // values the controller never had.
    static bool loadIo(MachineData &data, const QByteArray &file);
    static bool loadMoto(MachineData &data, const QByteArray &file);
};
