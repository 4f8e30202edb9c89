#pragma once

#include <functional>
#include <string>
#include <vector>

// What the privileged helper makes of a request from the panel: the panel's own argument vector
// (mount, umount, insmod, rmmod, the FAT tools, date, hwclock, as the panel has always run them)
// becomes the one fixed program of that action with arguments taken only from short lists, or a
// refusal. No program named by the request is ever run, no path outside the panel's devices and
// mount points is ever passed on, and nothing reaches a shell.
class SysActionRequest
{
public:
    // A request is the argument vector, each string ended by a NUL, at most this long in all.
    static constexpr std::size_t kMaxBytes = 4096;
    static constexpr std::size_t kMaxArgs = 16;

    // What the judgement needs to know of the system: the block device a node names (its
    // resolved path, empty when it names none), whether a device is mounted, and the mount
    // options that give the panel's user its files ("uid=N,gid=N").
    struct System
    {
        std::function<std::string(const std::string &)> blockDevice;
        std::function<bool(const std::string &)> mounted;
        std::string owner;
    };

    // What to do once the program has run: nothing, wait for the stick's node to appear (its
    // driver was loaded) or for the device events to settle (it was unloaded).
    enum class After { Nothing, AwaitStick, Settle };

    struct Plan
    {
        std::vector<std::string> argv; // absolute program first; empty when refused
        std::string refusal;           // why, for the journal
        After after = After::Nothing;
    };

    // The strings of a request; false when it is empty, too long, has too many strings or does
    // not end with a NUL.
    static bool parse(const std::string &bytes, std::vector<std::string> *args);
    static Plan plan(const std::vector<std::string> &args, const System &system);

    static constexpr const char *kStickDevice = "/dev/scsi/host0/bus0/target0/lun0";
    static constexpr const char *kDataPartition = "/dev/ide/host0/bus0/target1/lun0/part1";
};
