// Whole process against whole process: `knitjob fetch` / `knitjob send` against tftp-hpa's
// `tftp get` / `tftp put`, both against one in.tftpd on loopback, started the same way
// (posix_spawn, output to /dev/null) and timed from spawn to exit, interleaved round by round.
// Sizes: an empty file (the fixed cost of starting a process and making a request), 1 MiB and
// 8 MiB. Every process runs on one CPU, as on the panel computer: across two CPUs of a virtual
// machine a lock-step exchange pays a wake-up of an idle CPU per packet, and which transfers
// did so varied from run to run by a factor of three. Prints the median (and the best) of each
// and the ratio of the medians, ours / tftp-hpa.
// knitjob, like tftp, does not force a fetched file to disk; the panel's downloads do, and the
// last lines print what that adds (in-process, durable save against plain replacement).
// Never fails.
#include "portoffset.h"
#include "testroot.h"

#include "link/tftppacket.h"
#include "link/tftpport.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"
#include "platform/panelpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const char kTftpd[] = "/usr/sbin/in.tftpd";
const char kTftp[] = "/usr/bin/tftp";
const int kRounds = 15;

struct Size
{
    const char *label;
    int bytes;
};
const Size kSizes[] = {{"empty", 0}, {"1 MiB", 1 << 20}, {"8 MiB", 8 << 20}};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Milliseconds from spawn to exit, or -1 when the program failed.
double timed(const QStringList &argv)
{
    std::vector<QByteArray> bytes;
    for (const QString &a : argv)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> args;
    for (QByteArray &b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const double start = nowMs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = nowMs() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double best(const std::vector<double> &v)
{
    return *std::min_element(v.begin(), v.end());
}

// Median milliseconds of a durable AtomicFile::save and of the same save without its fsyncs.
void printSyncCost(const QString &path, int bytes)
{
    const QByteArray body(bytes, 's');
    std::vector<double> durable, plain;
    for (int r = 0; r < kRounds; ++r) {
        double t = nowMs();
        AtomicFile::save(path, body);
        durable.push_back(nowMs() - t);
        t = nowMs();
        AtomicFile plainFile(path);
        plainFile.open();
        plainFile.append(body.constData(), body.size());
        plainFile.commit(false);
        plain.push_back(nowMs() - t);
    }
    std::printf("%-5s download saved durably (fsync of file and folder): %.1f ms, replaced only: %.1f ms\n",
                bytes == 1 << 20 ? "1 MiB" : "8 MiB", median(durable), median(plain));
}

// in.tftpd's median turnaround per block in microseconds over one transfer of blocks blocks
// (get: our ACK to its DATA; put: our DATA to its ACK), or -1 when the transfer broke off; and
// in *requestUs its answer to the request (a fork and an open).
double turnaroundUs(bool put, const char *name, int blocks, quint16 serverPort, double *requestUs)
{
    TftpPort port;
    if (!port.bindIpv4(INADDR_LOOPBACK, 0) || !port.setWaitMs(3000))
        return -1;
    char out[TftpPacket::kMaxPacket];
    char in[TftpPacket::kMaxPacket];
    const char zeros[TftpPacket::kBlockSize] = {};
    int length = TftpPacket::makeRequest(put ? TftpPacket::Wrq : TftpPacket::Rrq, "octet", name, out, int(sizeof out));
    quint32 address = INADDR_LOOPBACK;
    quint16 peer = serverPort;
    std::vector<double> us;
    int block = 0; // get: the last block received; put: the last block sent
    for (;;) {
        port.sendTo(out, length, address, peer);
        const double sent = nowMs();
        const int n = port.receiveWithin(in, int(sizeof in), &address, &peer);
        const TftpPacket::View v = TftpPacket::parse(in, n);
        if (n < 0 || !v.valid || v.opcode == TftpPacket::Error)
            return -1;
        if (block > 0)
            us.push_back((nowMs() - sent) * 1000);
        else
            *requestUs = (nowMs() - sent) * 1000;
        if (!put) {
            block = v.block;
            length = TftpPacket::makeAck(block, out, int(sizeof out));
            if (v.dataLength < TftpPacket::kBlockSize) {
                port.sendTo(out, length, address, peer);
                break;
            }
        } else {
            if (block == blocks)
                break;
            ++block;
            length = TftpPacket::makeData(block, zeros, block == blocks ? 0 : TftpPacket::kBlockSize, out, int(sizeof out));
        }
    }
    return us.empty() ? -1 : median(us);
}

bool portTaken(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool taken = ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0;
    ::close(fd);
    return taken;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    const bool pinned = sched_setaffinity(0, sizeof one, &one) == 0; // children inherit it
    if (!QFile::exists(kTftpd) || !QFile::exists(kTftp)) {
        std::printf("bench_tftp: needs tftpd-hpa and tftp-hpa: install them with scripts/setup.sh\n");
        return 0;
    }
    const QString knitjob = QCoreApplication::applicationDirPath() + QStringLiteral("/knitjob");
    PortOffset::useFree();
    TestRoot root;
    const QString served = root.file("/tftpd");
    QDir().mkpath(served);
    QFile::setPermissions(served, QFileDevice::Permissions(0x7777));
    for (const Size &s : kSizes) {
        const QByteArray body(s.bytes, 'b');
        const QString name = QStringLiteral("/%1.bin").arg(s.bytes);
        AtomicFile::save(served + name, body);
        AtomicFile::save(PanelPaths::tmp(name), body);
    }

    const quint16 port = PanelEnv::port(69);
    QProcess tftpd;
    tftpd.start(kTftpd, {"-L", "-c", "-a", QStringLiteral("127.0.0.1:%1").arg(port), "-s", served});
    for (int i = 0; i < 100 && !portTaken(port); ++i)
        QThread::msleep(20);
    if (!portTaken(port)) {
        std::printf("bench_tftp: in.tftpd did not start (it must run as root)\n");
        tftpd.kill();
        tftpd.waitForFinished(3000);
        return 0;
    }

    // The floor's start: a C program that does nothing, started and timed as the clients are.
    const QString nothing = PanelPaths::tmp(QStringLiteral("/nothing"));
    QFile source(nothing + QStringLiteral(".c"));
    source.open(QIODevice::WriteOnly);
    source.write("int main(void) { return 0; }\n");
    source.close();
    const bool haveNothing = QProcess::execute(QStringLiteral("cc"), {QStringLiteral("-O2"), QStringLiteral("-o"), nothing,
                                                                      nothing + QStringLiteral(".c")}) == 0;
    std::vector<double> startMs;

    const QString portText = QString::number(port);
    const int sizes = int(sizeof kSizes / sizeof kSizes[0]);
    // [size][0 ours get, 1 theirs get, 2 ours put, 3 theirs put]
    std::vector<std::vector<std::vector<double>>> ms(sizes, std::vector<std::vector<double>>(4));
    int failed = 0;
    auto add = [&](std::vector<double> &to, double v) {
        if (v < 0)
            ++failed;
        else
            to.push_back(v);
    };
    for (int r = 0; r < kRounds; ++r) {
        if (haveNothing)
            add(startMs, timed({nothing}));
        for (int s = 0; s < sizes; ++s) {
            const QString name = QStringLiteral("%1.bin").arg(kSizes[s].bytes);
            const QString local = PanelPaths::tmp(QLatin1Char('/') + name);
            add(ms[s][0], timed({knitjob, "fetch", name, "--to", PanelPaths::tmp("/ours.get")}));
            add(ms[s][1], timed({kTftp, "-m", "binary", "127.0.0.1", portText, "-c", "get", name,
                                 PanelPaths::tmp("/theirs.get")}));
            add(ms[s][2], timed({knitjob, "send", local, "--as", "ours." + name}));
            add(ms[s][3], timed({kTftp, "-m", "binary", "127.0.0.1", portText, "-c", "put", local,
                                 "theirs." + name}));
        }
    }
    // The server's share of a transfer, per block: from the 8 MiB file, both ways.
    const int bigBlocks = (8 << 20) / TftpPacket::kBlockSize + 1;
    std::vector<double> getTurn, putTurn, getRequest, putRequest;
    for (int r = 0; r < 5; ++r) {
        double gr = 0, pr = 0;
        const double g = turnaroundUs(false, "8388608.bin", bigBlocks, port, &gr);
        // A fresh name each time: truncating the last round's 8 MiB is no cost a client meets.
        QFile::remove(served + QStringLiteral("/floor.bin"));
        const double p = turnaroundUs(true, "floor.bin", bigBlocks, port, &pr);
        if (g > 0) {
            getTurn.push_back(g);
            getRequest.push_back(gr);
        }
        if (p > 0) {
            putTurn.push_back(p);
            putRequest.push_back(pr);
        }
    }
    tftpd.terminate();
    tftpd.waitForFinished(3000);

    std::printf("whole processes against one in.tftpd on loopback, %s, interleaved, median of %d\n",
                pinned ? "all on CPU 0" : "NOT pinned to one CPU", kRounds);
    const double start = startMs.empty() ? 0 : median(startMs);
    const double turn[2] = {getTurn.empty() ? 0 : median(getTurn), putTurn.empty() ? 0 : median(putTurn)};
    const double request[2] = {getRequest.empty() ? 0 : median(getRequest), putRequest.empty() ? 0 : median(putRequest)};
    std::printf("floor: a do-nothing C program starts in %.2f ms; in.tftpd answers a request in %.2f ms (get), "
                "%.2f ms (put), and turns a block round in %.1f us (get), %.1f us (put)\n",
                start, request[0] / 1000, request[1] / 1000, turn[0], turn[1]);
    for (int s = 0; s < sizes; ++s) {
        for (int d = 0; d < 2; ++d) {
            const std::vector<double> &o = ms[s][2 * d], &t = ms[s][2 * d + 1];
            if (o.empty() || t.empty())
                continue;
            const double om = median(o), tm = median(t);
            // A download's first block answers the request itself.
            const int blocks = kSizes[s].bytes / TftpPacket::kBlockSize + (d ? 1 : 0);
            const double lowest = start + request[d] / 1000 + blocks * turn[d] / 1000;
            std::printf("%-5s %s: knitjob %s %7.1f ms (best %7.1f), tftp %s %7.1f ms (best %7.1f), ratio %.2f; "
                        "floor %7.1f ms\n",
                        kSizes[s].label, d ? "put" : "get", d ? "send " : "fetch", om, best(o),
                        d ? "put" : "get", tm, best(t), om / tm, lowest);
        }
    }
    if (failed) {
        std::printf("%d transfers failed and are left out:", failed);
        const char *kinds[] = {"knitjob fetch", "tftp get", "knitjob send", "tftp put"};
        for (int s = 0; s < sizes; ++s) {
            for (int k = 0; k < 4; ++k) {
                if (int(ms[s][std::size_t(k)].size()) < kRounds)
                    std::printf(" %s %s x%d", kSizes[s].label, kinds[k], kRounds - int(ms[s][std::size_t(k)].size()));
            }
        }
        std::printf("\n");
    }
    printSyncCost(PanelPaths::tmp("/sync.bin"), 1 << 20);
    printSyncCost(PanelPaths::tmp("/sync.bin"), 8 << 20);
    return 0;
}
