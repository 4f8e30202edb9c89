#include "sysactionrequest.h"

#include <algorithm>

namespace {

using Args = std::vector<std::string>;
using Plan = SysActionRequest::Plan;

const char kStickMountPoint[] = "/mnt/usb";
const char kDataMountPoint[] = "/mnt/ide";

std::string baseName(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Plan refuse(const std::string &why)
{
    Plan p;
    p.refusal = why;
    return p;
}

bool isStickNode(const std::string &node)
{
    const std::string dir = std::string(SysActionRequest::kStickDevice) + '/';
    if (node.compare(0, dir.size(), dir) != 0)
        return false;
    const std::string leaf = node.substr(dir.size());
    return leaf == "disc" || (leaf.size() == 5 && leaf.compare(0, 4, "part") == 0 && leaf[4] >= '1' && leaf[4] <= '4');
}

// The mount point a node of the panel's belongs on; empty for any other path.
std::string mountPointOf(const std::string &node)
{
    if (isStickNode(node))
        return kStickMountPoint;
    return node == SysActionRequest::kDataPartition ? kDataMountPoint : std::string();
}

// The resolved block device of one of the panel's nodes, or empty.
std::string deviceOf(const std::string &node, const SysActionRequest::System &system)
{
    if (mountPointOf(node).empty() || !system.blockDevice)
        return std::string();
    return system.blockDevice(node);
}

Plan mount(const Args &a, const SysActionRequest::System &system)
{
    if (a.size() != 6 || a[0] != "-t" || a[1] != "vfat" || a[2] != "-o")
        return refuse("mount: not the panel's vfat mount");
    if (a[3] != "codepage=936,iocharset=cp936" && a[3] != "iocharset=utf8")
        return refuse("mount: options other than the panel's code pages");
    const std::string device = deviceOf(a[4], system);
    if (device.empty() || mountPointOf(a[4]) != a[5])
        return refuse("mount: not one of the panel's devices on its own mount point");
    // The panel's files, as its user's; the program an update left on the data disk must run.
    // dirsync: on vfat only a synchronous folder writes a save's rename before a power cut.
    std::string options = a[3] + ",nosuid,nodev," + system.owner + ",umask=022,dirsync";
    if (a[5] == kStickMountPoint)
        options += ",noexec";
    Plan p;
    p.argv = {"/bin/mount", "-t", "vfat", "-o", options, device, a[5]};
    return p;
}

Plan umount(const Args &a)
{
    if (a.size() != 1 || (a[0] != kStickMountPoint && a[0] != kDataMountPoint))
        return refuse("umount: not one of the panel's mount points");
    Plan p;
    p.argv = {"/bin/umount", a[0]};
    return p;
}

Plan stickDriver(const std::string &program, const Args &a)
{
    Plan p;
    if (program == "insmod" && a.size() == 1 && baseName(a[0]) == "usb-storage.o") {
        p.argv = {"/sbin/modprobe", "usb-storage"};
        p.after = SysActionRequest::After::AwaitStick;
    } else if (program == "rmmod" && a.size() == 1 && a[0] == "usb-storage") {
        p.argv = {"/sbin/modprobe", "-r", "usb-storage"};
        p.after = SysActionRequest::After::Settle;
    } else {
        p.refusal = program + ": only the stick's driver";
    }
    return p;
}

Plan fatTool(const std::string &program, const Args &a, const SysActionRequest::System &system)
{
    const bool format = program == "mkdosfs";
    const bool shape = format ? a.size() == 4 && a[0] == "-v" && a[1] == "-F" && a[2] == "32" : a.size() == 2 && a[0] == "-v";
    const std::string device = shape ? deviceOf(a.back(), system) : std::string();
    if (device.empty())
        return refuse(program + ": not the panel's call on one of its devices");
    Plan p;
    if (format)
        p.argv = {"/sbin/mkfs.vfat", "-v", "-F", "32", device};
    else
        // A mounted disk is only checked: repairs under a mounted file system corrupt it.
        p.argv = {"/sbin/fsck.vfat", system.mounted && system.mounted(device) ? "-n" : "-a", "-v", device};
    return p;
}

Plan clock(const std::string &program, const Args &a)
{
    Plan p;
    if (program == "hwclock" && a.size() == 1 && a[0] == "-w") {
        p.argv = {"/sbin/hwclock", "-w"};
        return p;
    }
    const bool dateText = a.size() == 2 && a[0] == "-s" && !a[1].empty() && a[1].size() <= 32
        && std::all_of(a[1].begin(), a[1].end(), [](char c) { return (c >= '0' && c <= '9') || c == '/' || c == '-' || c == ':' || c == ' '; });
    if (program != "date" || !dateText)
        return refuse(program + ": not the panel's clock setting");
    p.argv = {"/bin/date", "-s", a[1]};
    return p;
}

} // namespace

bool SysActionRequest::parse(const std::string &bytes, std::vector<std::string> *args)
{
    args->clear();
    if (bytes.empty() || bytes.size() > kMaxBytes || bytes.back() != '\0')
        return false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\0', start);
        if (args->size() == kMaxArgs)
            return false;
        args->push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return !args->front().empty();
}

SysActionRequest::Plan SysActionRequest::plan(const std::vector<std::string> &args, const System &system)
{
    if (args.empty())
        return refuse("empty request");
    // The panel names the FAT tools by the copies it made in its temporary folder: the name
    // says which action, the system's own tool does it.
    const std::string program = baseName(args[0]);
    const Args rest(args.begin() + 1, args.end());
    if (program == "mount")
        return mount(rest, system);
    if (program == "umount")
        return umount(rest);
    if (program == "insmod" || program == "rmmod")
        return stickDriver(program, rest);
    if (program == "mkdosfs" || program == "dosfsck")
        return fatTool(program, rest, system);
    if (program == "date" || program == "hwclock")
        return clock(program, rest);
    return refuse(program + ": not an action of the panel's");
}
