// 1 MiB get and put: our TFTP client against tftp-hpa's, both against one in.tftpd on
// loopback, interleaved, median of 7. Prints both times and the ratio (ours / tftp-hpa).
#include "link/tftpclient.h"
#include "link/tftpsocket.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"
#include "platform/panelpaths.h"
#include "platform/sleeper.h"
#include "portoffset.h"
#include "testroot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char kTftpd[] = "/usr/sbin/in.tftpd";
const char kTftp[] = "/usr/bin/tftp";
const int kRounds = 7;
const int kSize = 1024 * 1024;

double ours(bool upload, const QString &local)
{
    QElapsedTimer t;
    t.start();
    TftpClient client;
    QEventLoop loop;
    QObject::connect(&client, &TftpClient::over, &loop, &QEventLoop::quit);
    const bool started = upload ? client.put(local, QHostAddress::LocalHost) : client.get(local, QHostAddress::LocalHost);
    if (started && client.isRunning())
        loop.exec();
    const double ms = t.nsecsElapsed() / 1e6;
    return client.result() == 0 ? ms : -1;
}

double theirs(bool upload, const QString &local, const QString &name, quint16 port)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(kTftp, {"-m", "binary", "127.0.0.1", QString::number(port), "-c", upload ? "put" : "get",
                    upload ? local : name, upload ? name : local});
    if (!p.waitForFinished(60000))
        return -1;
    const double ms = t.nsecsElapsed() / 1e6;
    return p.readAll().contains("Error") ? -1 : ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (!QFile::exists(kTftpd) || !QFile::exists(kTftp)) {
        std::printf("bench_tftp: needs tftpd-hpa and tftp-hpa: install them with scripts/setup.sh\n");
        return 0;
    }
    PortOffset::useFree();
    TestRoot root;
    const QString served = root.file("/tftpd");
    QDir().mkpath(served);
    QFile::setPermissions(served, QFileDevice::Permissions(0x7777));
    const QByteArray body(kSize, 'b');
    AtomicFile::save(served + "/get.bin", body);
    AtomicFile::save(served + "/empty.bin", QByteArray());
    AtomicFile::save(PanelPaths::tmp("/put.bin"), body);
    AtomicFile::save(PanelPaths::tmp("/hpaput.bin"), body);

    const quint16 port = PanelEnv::port(69);
    QProcess tftpd;
    tftpd.start(kTftpd, {"-L", "-c", "-a", QStringLiteral("127.0.0.1:%1").arg(port), "-s", served});
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        TftpSocket probe;
        up = !probe.bind(QHostAddress::LocalHost, port);
        probe.close();
        if (!up)
            Sleeper::sleepMs(20);
    }
    if (!up) {
        std::printf("bench_tftp: in.tftpd did not start (it must run as root)\n");
        tftpd.kill();
        tftpd.waitForFinished(3000);
        return 0;
    }

    std::vector<double> oursGet, theirsGet, oursPut, theirsPut, theirsEmpty;
    for (int r = 0; r < kRounds; ++r) {
        oursGet.push_back(ours(false, PanelPaths::tmp("/get.bin")));
        theirsGet.push_back(theirs(false, PanelPaths::tmp("/hpaget.bin"), "get.bin", port));
        oursPut.push_back(ours(true, PanelPaths::tmp("/put.bin")));
        theirsPut.push_back(theirs(true, PanelPaths::tmp("/hpaput.bin"), "hpaput.bin", port));
        theirsEmpty.push_back(theirs(false, PanelPaths::tmp("/hpaempty.bin"), "empty.bin", port));
    }
    tftpd.terminate();
    tftpd.waitForFinished(3000);

    const double og = median(oursGet), tg = median(theirsGet), op = median(oursPut), tp = median(theirsPut);
    std::printf("1 MiB get: ours %.1f ms, tftp-hpa %.1f ms, ratio %.2f\n", og, tg, og / tg);
    std::printf("1 MiB put: ours %.1f ms, tftp-hpa %.1f ms, ratio %.2f\n", op, tp, op / tp);
    std::printf("tftp-hpa, empty file (its start-up and request): %.1f ms\n", median(theirsEmpty));
    std::printf("(a failed transfer counts as -1 ms)\n");
    return 0;
}
