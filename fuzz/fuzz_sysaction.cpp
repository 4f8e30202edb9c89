// Fuzzes the privileged helper's reading of a request from the panel: whatever the bytes, what
// it runs is one of its fixed programs, on a device the system resolved from one of the panel's
// nodes and on that node's own mount point, and never a program or path the request named.
#include "seeds.h"
#include "sysactionrequest.h"

#include <algorithm>
#include <set>

namespace {

bool isOneOf(const std::string &s, std::initializer_list<const char *> list)
{
    return std::any_of(list.begin(), list.end(), [&](const char *e) { return s == e; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> args;
    if (!SysActionRequest::parse(bytes, &args))
        return 0;
    ABORT_IF(args.empty() || args.size() > SysActionRequest::kMaxArgs || bytes.size() > SysActionRequest::kMaxBytes);
    SysActionRequest::System system;
    std::set<std::string> asked;
    system.blockDevice = [&](const std::string &node) { asked.insert(node); return std::string("/dev/resolved"); };
    // Every disk counts as mounted: a repair must then only check.
    system.mounted = [](const std::string &) { return true; };
    system.owner = "uid=1,gid=1";
    const SysActionRequest::Plan plan = SysActionRequest::plan(args, system);
    ABORT_IF(plan.argv.empty() == plan.refusal.empty());
    if (plan.argv.empty())
        return 0;
    ABORT_IF(!isOneOf(plan.argv[0], {"/bin/mount", "/bin/umount", "/sbin/modprobe", "/sbin/mkfs.vfat", "/sbin/fsck.vfat", "/bin/date", "/sbin/hwclock"}));
    for (const std::string &node : asked)
        ABORT_IF(node.compare(0, 5, "/dev/") != 0 || node.find("..") != std::string::npos);
    const std::string &last = plan.argv.back();
    if (plan.argv[0] == "/bin/mount")
        ABORT_IF(!isOneOf(last, {"/mnt/usb", "/mnt/ide"}) || plan.argv[plan.argv.size() - 2] != "/dev/resolved");
    if (plan.argv[0] == "/bin/umount")
        ABORT_IF(!isOneOf(last, {"/mnt/usb", "/mnt/ide"}));
    if (plan.argv[0] == "/sbin/mkfs.vfat" || plan.argv[0] == "/sbin/fsck.vfat")
        ABORT_IF(last != "/dev/resolved" || plan.argv[1] == "-a");
    if (plan.argv[0] == "/bin/date")
        ABORT_IF(last.find_first_not_of("0123456789/-: ") != std::string::npos);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    using namespace std::string_literals;
    return {"mount\0-t\0vfat\0-o\0codepage=936,iocharset=cp936\0/dev/scsi/host0/bus0/target0/lun0/part1\0/mnt/usb\0"s,
            "mount\0-t\0vfat\0-o\0iocharset=utf8\0/dev/ide/host0/bus0/target1/lun0/part1\0/mnt/ide\0"s,
            "umount\0/mnt/ide\0"s, "/usr/sbin/insmod\0/usr/driver/usb-storage.o\0"s, "rmmod\0usb-storage\0"s,
            "/tmp/mkdosfs\0-v\0-F\0032\0/dev/scsi/host0/bus0/target0/lun0/disc\0"s,
            "/tmp/dosfsck\0-v\0/dev/ide/host0/bus0/target1/lun0/part1\0"s, "date\0-s\0002007/3/9 8:05:00\0"s,
            "hwclock\0-w\0"s, "mount\0-t\0vfat\0-o\0iocharset=utf8\0/dev/scsi/host0/bus0/target0/lun0/../../../../../sda\0/mnt/usb\0"s,
            "date\0-s\0$(reboot)\0"s, "/bin/sh\0-c\0id\0"s};
}
