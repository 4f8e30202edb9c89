// knitpanel-sysaction: the panel's one way to the privileged actions it has (mounting the stick
// and the data disk, the FAT tools, the clock, the stick's driver).
//
//   knitpanel-sysaction PROGRAM [ARG...]   as the panel's user: hands the argument vector to the
//                                          helper's socket and exits with the action's status
//   knitpanel-sysaction --serve            as root, started per connection by the socket (the
//                                          connection on standard input): checks the caller and
//                                          the request, runs the one fixed program it maps to
//
// Statuses: the action's own, 126 refused, 127 not run (no helper, no program).
#include "sysactionrequest.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char kSocket[] = "/run/knitpanel-sysaction.sock";
constexpr char kPanelUser[] = "knitpanel";
constexpr int kRefused = 126;
constexpr int kNotRun = 127;

bool writeAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// Up to limit + 1 bytes, until the peer's end: one more than allowed marks a request too long.
std::string readBounded(int fd, std::size_t limit)
{
    std::string bytes;
    char buffer[1024];
    while (bytes.size() <= limit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, std::size_t(n));
    }
    return bytes;
}

int client(int argc, char **argv)
{
    std::string request;
    for (int i = 1; i < argc; ++i)
        request.append(argv[i], std::strlen(argv[i]) + 1);
    const char *path = std::getenv("KNIT_SYSACTION_SOCKET");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path && *path ? path : kSocket);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        std::fprintf(stderr, "knitpanel-sysaction: cannot reach %s: %s\n", address.sun_path, std::strerror(errno));
        return kNotRun;
    }
    if (!writeAll(fd, request) || ::shutdown(fd, SHUT_WR) != 0)
        return kNotRun;
    const std::string reply = readBounded(fd, 16);
    char *end = nullptr;
    const long status = std::strtol(reply.c_str(), &end, 10);
    return end != reply.c_str() && *end == '\n' && status >= 0 && status <= 255 ? int(status) : kNotRun;
}

std::string blockDevice(const std::string &node)
{
    char resolved[PATH_MAX];
    struct stat st;
    if (!::realpath(node.c_str(), resolved) || ::stat(resolved, &st) != 0 || !S_ISBLK(st.st_mode))
        return std::string();
    return resolved;
}

bool mounted(const std::string &device)
{
    FILE *f = std::fopen("/proc/self/mounts", "re");
    if (!f)
        return true; // unknown: treated as mounted, so only checked
    char line[4096];
    bool found = false;
    while (!found && std::fgets(line, sizeof line, f))
        found = std::strncmp(line, device.c_str(), device.size()) == 0 && line[device.size()] == ' ';
    std::fclose(f);
    return found;
}

// Runs argv with no input, its output in the helper's journal; its exit status.
int run(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return kNotRun;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (null < 0 || ::dup2(null, 0) < 0 || ::dup2(2, 1) < 0)
            ::_exit(kNotRun);
        static char *const environment[] = {const_cast<char *>("PATH=/usr/sbin:/usr/bin:/sbin:/bin"), const_cast<char *>("LANG=C.UTF-8"), nullptr};
        ::execve(argv[0], argv.data(), environment);
        ::_exit(kNotRun);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return kNotRun;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// Whether the stick's driver holds a device: its interfaces ("1-1:1.0") are listed under it.
bool stickBound()
{
    DIR *dir = ::opendir("/sys/bus/usb/drivers/usb-storage");
    if (!dir)
        return false;
    bool found = false;
    while (const dirent *e = found ? nullptr : ::readdir(dir))
        found = std::strchr(e->d_name, ':') != nullptr;
    ::closedir(dir);
    return found;
}

// A stick's node appears a moment after its driver binds: wait for it when a stick is there.
void afterwards(SysActionRequest::After after)
{
    if (after == SysActionRequest::After::Settle) {
        run({"/bin/udevadm", "settle", "--timeout=10"});
    } else if (after == SysActionRequest::After::AwaitStick && stickBound()) {
        run({"/bin/udevadm", "wait", "--timeout=10", std::string(SysActionRequest::kStickDevice) + "/disc"});
    }
}

int serve()
{
    const passwd *panel = ::getpwnam(kPanelUser);
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(0, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || !panel
        || (peer.uid != 0 && peer.uid != panel->pw_uid)) {
        std::fprintf(stderr, "knitpanel-sysaction: caller refused\n");
        writeAll(0, std::to_string(kRefused) + "\n");
        return 1;
    }
    SysActionRequest::System system;
    system.blockDevice = blockDevice;
    system.mounted = mounted;
    system.owner = "uid=" + std::to_string(panel->pw_uid) + ",gid=" + std::to_string(panel->pw_gid);
    std::vector<std::string> args;
    SysActionRequest::Plan plan;
    if (!SysActionRequest::parse(readBounded(0, SysActionRequest::kMaxBytes), &args))
        plan.refusal = "malformed request";
    else
        plan = SysActionRequest::plan(args, system);
    int status = kRefused;
    if (plan.argv.empty()) {
        std::fprintf(stderr, "knitpanel-sysaction: refused (%s)\n", plan.refusal.c_str());
    } else {
        std::string line;
        for (const std::string &a : plan.argv)
            line += (line.empty() ? "" : " ") + a;
        std::fprintf(stderr, "knitpanel-sysaction: %s\n", line.c_str());
        status = run(plan.argv);
        afterwards(plan.after);
        std::fprintf(stderr, "knitpanel-sysaction: status %d\n", status);
    }
    return writeAll(0, std::to_string(status) + "\n") ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--serve") == 0)
        return serve();
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: knitpanel-sysaction PROGRAM [ARG...] | --serve\n");
        return 64;
    }
    return client(argc, argv);
}
