#include "commandserver.h"
#include "controlserver.h"
#include "faultlayer.h"
#include "jobreceiver.h"
#include "knitsimulation.h"
#include "machinecalibration.h"
#include "powercycle.h"
#include "refusalfault.h"
#include "rowedits.h"
#include "simjournal.h"
#include "simstate.h"
#include "startupservice.h"
#include "testmodes.h"
#include "tftpserver.h"
#include "updatemode.h"
#include "workblock.h"

#include "data/protocol.h"
#include "link/tftptransfer.h"
#include "platform/panelenv.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <random>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "knitsim: %s\n", why.toLocal8Bit().constData());
    return 1;
}

// What the command line sets.
struct Options
{
    QString root;
    int controlPort = 0;
    quint32 seed = 0;
};

// Reads the command line into options (KNIT_PORT_OFFSET set from --port-offset); false with
// why for a missing or bad value. --help ends the program here.
bool parseOptions(const QCoreApplication &app, Options *options, QString *why)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in for the knitting machine's main controller."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("root"), QStringLiteral("Directory of the served files."), QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("control"), QStringLiteral("Loopback TCP port of the control protocol (0: any free port)."), QStringLiteral("PORT")});
    parser.addOption({QStringLiteral("port-offset"), QStringLiteral("Added to every UDP port (else KNIT_PORT_OFFSET)."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the network faults' random draws (else a random one, shown by state)."), QStringLiteral("N")});
    parser.process(app);

    if (!parser.isSet(QStringLiteral("root")) || !parser.isSet(QStringLiteral("control"))) {
        *why = QStringLiteral("--root DIR and --control PORT are required");
        return false;
    }
    options->root = parser.value(QStringLiteral("root"));
    bool ok = false;
    options->controlPort = parser.value(QStringLiteral("control")).toInt(&ok);
    if (!ok || options->controlPort < 0 || options->controlPort > 65535) {
        *why = QStringLiteral("--control needs a port from 0 to 65535");
        return false;
    }
    if (parser.isSet(QStringLiteral("port-offset"))) {
        const int offset = parser.value(QStringLiteral("port-offset")).toInt(&ok);
        if (!ok || offset < 0 || offset > 60000) {
            *why = QStringLiteral("--port-offset needs a number from 0 to 60000");
            return false;
        }
        qputenv("KNIT_PORT_OFFSET", QByteArray::number(offset));
    }
    options->seed = std::random_device{}();
    if (parser.isSet(QStringLiteral("seed"))) {
        options->seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) {
            *why = QStringLiteral("--seed needs a number from 0 to 4294967295");
            return false;
        }
    }
    return true;
}

// journal: every datagram received, with its time; journal clear.
void registerJournal(ControlServer &control, SimJournal &journal)
{
    control.registerCommand(QStringLiteral("journal"), [&journal](const QStringList &) {
        return ControlReply::ok(journal.lines());
    });
    control.registerCommand(QStringLiteral("journal clear"), [&journal](const QStringList &) {
        journal.clear();
        return ControlReply::ok();
    });
}

// A power cycle closes every UDP port and loses what the controller held only in memory.
void addPowerCycle(PowerCycle &power, CommandServer &commands, TftpServer &tftp, KnitSimulation &knitting,
                   TestModes &testModes, SimState &state, RowEdits &edits, UpdateMode &update)
{
    power.add(
        [&] {
            commands.close();
            tftp.close();
            knitting.powerOff();
            testModes.powerOff();
            state.powerOff();
            edits.powerOff();
            update.powerOff();
        },
        [&] {
            const QHostAddress loopback(QHostAddress::LocalHost);
            knitting.powerOn();
            testModes.powerOn();
            if (!commands.listen(loopback, PanelEnv::port(Protocol::ControllerPort)) || !tftp.listen(loopback, PanelEnv::port(TftpTransfer::kServerPort)))
                std::fprintf(stderr, "knitsim: a UDP port could not be opened again after the restart\n");
        });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    QString why;
    if (!parseOptions(app, &options, &why))
        return fail(why);
    const QHostAddress loopback(QHostAddress::LocalHost);

    SimJournal journal;
    FaultLayer network(options.seed, &journal);
    SimState state(options.root);
    if (!state.prepareFiles(&why))
        return fail(why);

    ControlServer control;
    registerJournal(control, journal);
    QObject::connect(&control, &ControlServer::quitRequested, &app, &QCoreApplication::quit);

    network.registerCommands(control);
    CommandServer commands(&state, &journal, &network);
    commands.registerCommands(control);
    RefusalFault refusal;
    refusal.registerCommands(control);
    commands.addHandler([&refusal](const QByteArray &d, QByteArray *answer) { return refusal.handle(d, answer); });
    if (!commands.listen(loopback, PanelEnv::port(Protocol::ControllerPort)))
        return fail(QStringLiteral("command port %1: %2").arg(PanelEnv::port(Protocol::ControllerPort)).arg(commands.errorString()));

    StartupService startup(&state);
    startup.registerCommands(control);

    TftpServer tftp(options.root, &network);
    tftp.registerCommands(control, journal);
    if (!tftp.listen(loopback, PanelEnv::port(TftpTransfer::kServerPort)))
        return fail(tftp.errorString());

    TestModes testModes(&state);
    if (!testModes.open(&network, &why))
        return fail(why);
    testModes.registerCommands(control);
    commands.addHandler([&testModes](const QByteArray &d, QByteArray *answer) { return testModes.handle(d, answer); });

    KnitSimulation knitting(&state, options.root);
    if (!knitting.open(&network, &why))
        return fail(why);
    knitting.registerCommands(control);

    MachineCalibration calibration;
    if (!calibration.open(&why))
        return fail(why);
    calibration.registerCommands(control);
    commands.setReplyDelay([&calibration](const QByteArray &d) { return calibration.replyDelayMs(d); });

    JobReceiver jobs(&state, &startup, &knitting);
    jobs.attach(tftp);
    QObject::connect(&tftp, &TftpServer::received, [&state](const QString &name) { WorkBlock::received(state, name); });
    jobs.registerCommands(control);

    RowEdits edits(&state, options.root,
                   [&knitting](int row, int offset, quint8 value) { return knitting.setProgramByte(row, offset, value); },
                   [&jobs] { return jobs.job(); });
    edits.registerCommands(control);
    commands.addHandler([&edits](const QByteArray &d, QByteArray *) { edits.observe(d); return false; });
    UpdateMode update(&state);
    update.attach(tftp);
    update.registerCommands(control);
    commands.addHandler([&update](const QByteArray &d, QByteArray *answer) { return update.handle(d, answer); });

    PowerCycle power;
    power.registerCommands(control);
    addPowerCycle(power, commands, tftp, knitting, testModes, state, edits, update);

    if (!control.listen(loopback, quint16(options.controlPort)))
        return fail(QStringLiteral("control port %1: %2").arg(options.controlPort).arg(control.errorString()));
    std::printf("knitsim ready control %u command %u\n", unsigned(control.port()), unsigned(commands.port()));
    std::fflush(stdout);
    return app.exec();
}
