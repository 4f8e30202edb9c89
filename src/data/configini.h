#pragma once

#include <QByteArray>

#include <array>

// The controller configuration text (Config.ini): the dark colour, the cam-board type and two
// option flags, one line each, decoded into the six fields of the controller configuration.
class ConfigIni
{
public:
    using Fields = std::array<int, 6>;

    // More than this is not a configuration file; lines past it count as missing.
    static constexpr int kMaxBytes = 64 * 1024;

    static Fields defaults(); // 85, 0, 255, 0, 0, 0
    // Pure decoding of file contents; fields whose line is missing or does not parse keep their
    // default. A line cut off by kMaxBytes does not parse.
    static Fields parse(const QByteArray &contents);
    // Reads at most kMaxBytes + 1 of the file; a missing or unreadable file gives defaults().
    static Fields readFile(const QString &path);
};

class MachineData;

// Sets data's controller configuration to what $data/Config.ini says, field by field over the
// defaults.
void readConfigIni(MachineData &data);
