// KnitSimulation's commands on the control port and the lines of state they answer with.
#include "knitsimulation.h"

#include "controlserver.h"

namespace {

bool number(const QString &text, int low, int high, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    *out = v;
    return true;
}

} // namespace

void KnitSimulation::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("start"), [this](const QStringList &args) {
        QString why;
        if (!start(args.value(0), &why))
            return ControlReply::fail(why);
        return ControlReply::ok(describe());
    });
    control.registerCommand(QStringLiteral("stop"), [this](const QStringList &) {
        stop();
        return ControlReply::ok(describe());
    });
    control.registerCommand(QStringLiteral("zero"), [this](const QStringList &) {
        zero();
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("alarm sequence"), [this](const QStringList &args) {
        QString why;
        if (args.size() == 1 && args[0] == QLatin1String("stop")) {
            sequence_.stop();
            return ControlReply::ok();
        }
        if (args.size() != 1 || !sequence_.play(args[0], &why))
            return ControlReply::fail(args.size() == 1 ? why : QStringLiteral("alarm sequence FILE | stop"));
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("alarm clear"), [this](const QStringList &) {
        sender_.alarm(0, 0);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("alarm"), [this](const QStringList &args) {
        int type = 0, code = 0;
        if (args.size() != 2 || !number(args[0], 0, 255, &type) || !number(args[1], 0, 255, &code))
            return ControlReply::fail(QStringLiteral("alarm TYPE CODE (0-255 each) or alarm clear"));
        sender_.alarm(static_cast<unsigned char>(type), static_cast<unsigned char>(code));
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("set speed"), [this](const QStringList &args) {
        int speed = 0;
        if (args.size() != 1 || !number(args[0], 1, kMaxRowsPerSecond, &speed))
            return ControlReply::fail(QStringLiteral("set speed N: rows per second, 1-%1").arg(kMaxRowsPerSecond));
        setSpeed(speed);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("set zeroing"), [this](const QStringList &args) {
        if (args.size() != 1 || !number(args[0], 0, kMaxZeroingMs, &zeroingMs_))
            return ControlReply::fail(QStringLiteral("set zeroing MS: 0-%1").arg(kMaxZeroingMs));
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("knit"), [this](const QStringList &) {
        return ControlReply::ok(describe());
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        return ControlReply::ok(carriageState());
    });
}

QStringList KnitSimulation::carriageState() const
{
    QStringList out{QStringLiteral("zeroed %1").arg(zeroed_ ? 1 : 0)};
    if (zeroArmed_)
        out << QStringLiteral("zero armed");
    if (skipTo_ != 0)
        out << QStringLiteral("skip %1 %2").arg(skipTo_).arg(skipReady_ ? QStringLiteral("ready") : QStringLiteral("armed"));
    return out;
}

QStringList KnitSimulation::describe() const
{
    return {QStringLiteral("knit %1 program %2 row %3 of %4 pieces %5 speed %6 reports %7")
                .arg(running_ ? QStringLiteral("running") : QStringLiteral("stopped"),
                     programName_.isEmpty() ? QStringLiteral("-") : programName_)
                .arg(row_)
                .arg(rows_)
                .arg(pieces_)
                .arg(speed_)
                .arg(sender_.sent())};
}
