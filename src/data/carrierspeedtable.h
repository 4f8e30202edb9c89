#pragma once

#include <QByteArray>
#include <QString>

class MachineData;

// The carrier-parking corrections by carriage speed in the carrier speed table and its file
// para/speed.mth: band b (speeds 5b + 1 to 5b + 5) moving right at word 64 + b, moving left at
// word 224 + b, each correction + 100; the controller's index is the word minus 64.
class CarrierSpeedTable
{
public:
    static constexpr int kBands = 20;
    static constexpr int kRightWord = 64;
    static constexpr int kLeftWord = 224;
    static constexpr int kBias = 100;

    static int word(int band, bool left) { return (left ? kLeftWord : kRightWord) + band; }
    static int address(int band, bool left) { return word(band, left) - kRightWord; }
    // "1 :  1  - 5" ... "20:  96 - 99"
    static QString bandText(int band);

    static QString path();
    // Takes a whole table (exactly 1280 bytes) into data; false leaves it as it was.
    static bool parse(MachineData &data, const QByteArray &bytes);
    // At start-up, after the defaults: the corrections kept by an earlier run.
    static bool load(MachineData &data);
    // data's table saved whole and synced; false (and the old file as it was) when not.
    static bool save(const MachineData &data);
};
