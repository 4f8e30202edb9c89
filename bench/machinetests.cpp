// The test menu and pages: the menu's key to the input/output page shown, with knitsim (entry
// handshake, file transfer, page built and painted); a key on the page to its test datagram on
// the wire; input reports flooding the status port at 1,000 a second, each change to its label
// redrawn; the datagrams of a selector cycle in 10 s; the CPU each page takes while open and
// idle. Prints; never fails.
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "link/statuschannel.h"
#include "machinetests/carriagetestpage.h"
#include "machinetests/controllertestmenu.h"
#include "machinetests/iotestpage.h"
#include "platform/panelenv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The pages trace every datagram on standard output; the figures go to a copy of it taken
// before that is silenced.
std::FILE *figures()
{
    static std::FILE *out = [] {
        std::FILE *f = ::fdopen(::dup(STDOUT_FILENO), "w");
        std::setvbuf(f, nullptr, _IOLBF, 0);
        return f;
    }();
    return out;
}

// Shown as the only window, not modal, so that the measurement may look for the modal widgets
// it opens.
void showPage(QDialog &page)
{
    page.setModal(false);
    page.show();
    if (!QTest::qWaitForWindowActive(&page))
        std::fprintf(figures(), "(%s not active)\n", page.metaObject()->className());
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

double nowMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double cpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A UDP socket on 127.0.0.1:port (0: any), the stand-in controller of a measurement.
int udpSocket(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Datagrams waiting on fd, the first one waited for up to ms; when it came in *at.
int drain(int fd, int ms, double *at = nullptr)
{
    int n = 0;
    char buffer[64];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, n ? 0 : ms) > 0 && ::recv(fd, buffer, sizeof buffer, 0) >= 0) {
        if (!n++ && at)
            *at = nowMs();
    }
    return n;
}

// The event loop alone for ms, as the panel waits between events.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void menuToPage()
{
    SimProcess sim;
    QString why;
    if (!sim.start(&why)) {
        std::fprintf(figures(), "menu key to the I/O page: knitsim did not start: %s\n", qPrintable(why));
        return;
    }
    MachineData machine;
    ControllerTestMenu menu(machine);
    showPage(menu);
    std::vector<double> shown;
    for (int i = 0; i < 20; ++i) {
        double start = 0;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *page = qobject_cast<IoTestPage *>(QApplication::activeModalWidget());
            if (!page || !page->isVisible())
                return;
            page->grab(); // painted, not only built
            shown.push_back(nowMs() - start);
            poll.stop();
            page->reject(); // leave: the page goes when knitsim has answered
        });
        poll.start();
        start = nowMs();
        QTest::keyClick(&menu, Qt::Key_2);
    }
    std::fprintf(figures(), "menu key to I/O page shown, with knitsim, 20 entries: median %.1f ms (goal < 100, ratio %.2f)\n",
                percentile(shown, 0.5), percentile(shown, 0.5) / 100.0);
}

void keyToWire(int controller)
{
    MachineData machine;
    IoTestPage page(machine);
    showPage(page);
    drain(controller, 0);
    std::vector<double> wire;
    for (int i = 0; i < 200; ++i) {
        const double start = nowMs();
        double at = 0;
        QTest::keyClick(page.field(0, 0), i % 2 ? Qt::Key_2 : Qt::Key_1);
        if (drain(controller, 100, &at) == 1)
            wire.push_back(at - start);
    }
    std::fprintf(figures(), "key press to test datagram on the wire, %zu of 200: median %.3f ms (goal < 5, ratio %.3f)\n", wire.size(),
                percentile(wire, 0.5), percentile(wire, 0.5) / 5.0);
}

void inputFlood()
{
    MachineData machine;
    StatusChannel channel(machine);
    channel.setTraceStream(nullptr);
    channel.open();
    IoTestPage page(machine);
    showPage(page);

    // Reports go round the 26 inputs, 1,000 a second; each input changes every 260 ms, so
    // most reports repeat a state, as a controller that reports all the time does.
    constexpr int kSeconds = 3;
    constexpr int kInputs = 26;
    std::mutex lock;
    std::vector<std::vector<std::pair<double, int>>> changes(kInputs); // (time, value) of each change
    std::atomic<bool> done{false};
    std::thread sender([&] {
        const int fd = udpSocket(0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(PanelEnv::port(Protocol::StatusPort));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const double start = nowMs();
        for (int n = 0; n < 1000 * kSeconds; ++n) {
            while (nowMs() < start + n) {
                const timespec pause{0, 100000};
                ::nanosleep(&pause, nullptr);
            }
            const int input = n % kInputs;
            const int value = (n / 260) % 2 ? 1 : 0;
            const unsigned char r[12] = {0x26, 0, 0, 0, 0, 1, quint8(input), 0, quint8(value), 0, 0, 0};
            {
                std::lock_guard<std::mutex> g(lock);
                if (changes[input].empty() || changes[input].back().second != value)
                    changes[input].push_back({nowMs(), value});
            }
            ::sendto(fd, r, sizeof r, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
        }
        ::close(fd);
        done = true;
    });
    // A change counts as shown when its input's label first paints its state.
    std::vector<double> latency;
    std::vector<size_t> next(kInputs, 0);
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        std::lock_guard<std::mutex> g(lock);
        for (int i = 0; i < kInputs; ++i) {
            const bool closed = page.inputLabel(i)->text().contains(QStringLiteral("闭合"));
            const int shownValue = (i == 1 || i == 3) ? !closed : closed;
            for (size_t k = next[i]; k < changes[i].size(); ++k) {
                if (changes[i][k].second == shownValue) {
                    for (size_t j = next[i]; j <= k; ++j)
                        latency.push_back(nowMs() - changes[i][j].first);
                    next[i] = k + 1;
                }
            }
        }
    });
    watch.start();
    while (!done)
        QTest::qWait(20);
    QTest::qWait(300);
    watch.stop();
    sender.join();
    int right = 0;
    for (int i = 0; i < kInputs; ++i)
        right += next[i] == changes[i].size() ? 1 : 0;
    std::fprintf(figures(), "input reports at 1,000/s for %d s, %zu changes: label redrawn p50 %.1f ms, p99 %.1f ms (goal < 120, ratio %.2f); "
                "final states right: %d of %d; reports taken %llu\n",
                kSeconds, latency.size(), percentile(latency, 0.5), percentile(latency, 0.99), percentile(latency, 0.99) / 120.0,
                right, kInputs, static_cast<unsigned long long>(channel.statusReports()));
}

void selectorCycle(int controller)
{
    MachineData machine;
    CarriageTestPage page(machine);
    showPage(page);
    QTest::keyClick(&page, Qt::Key_Right); // the first selector
    drain(controller, 0);
    int count = 0;
    QTimer reader;
    reader.setInterval(5);
    QObject::connect(&reader, &QTimer::timeout, [&] { count += drain(controller, 0); });
    reader.start();
    QTimer::singleShot(10000, Qt::PreciseTimer, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::keyClick(&page, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::qWait(200);
    reader.stop();
    count += drain(controller, 0);
    std::fprintf(figures(), "selector cycle for 10 s: %d datagrams (goal 190-210, ratio to 200 %.3f)\n", count, count / 200.0);
}

template <class Page>
void idleCpu(const char *name)
{
    MachineData machine;
    Page page(machine);
    page.setModal(false);
    page.show();
    idle(300);
    const double cpu = cpuSeconds();
    const double start = nowMs();
    idle(5000);
    const double share = (cpuSeconds() - cpu) / ((nowMs() - start) / 1e3) * 100.0;
    std::fprintf(figures(), "%s open and idle, 5 s: %.2f %% of a core (goal < 1, ratio %.2f)\n", name, share, share / 1.0);
}

} // namespace

int main(int argc, char **argv)
{
    figures();
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KNIT_BUZZER", "off");
    QApplication app(argc, argv);
    TestRoot root;
    PortOffset::useFree();

    menuToPage();
    const int controller = udpSocket(PanelEnv::port(Protocol::ControllerPort));
    keyToWire(controller);
    inputFlood();
    selectorCycle(controller);
    idleCpu<IoTestPage>("input/output page");
    idleCpu<CarriageTestPage>("carriage test page");
    ::close(controller);
    return 0;
}
