#include "transfercommands.h"

#include "subcommand.h"

#include "data/jobname.h"
#include "link/tftpclient.h"
#include "platform/panelenv.h"

#include <QEventLoop>
#include <QTextStream>

namespace {

const Subcommand::Registration fetchCommand("fetch", "fetch NAME [--to PATH]   fetch a file from the controller",
                                            &TransferCommands::fetch);
const Subcommand::Registration sendCommand("send", "send PATH [--as NAME]    send a file to the controller",
                                           &TransferCommands::send);

// Splits "X [--opt VALUE]"; false on anything else.
bool parse(const QStringList &args, const QString &option, QString *positional, QString *value)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == option) {
            if (i + 1 >= args.size() || !value->isNull())
                return false;
            *value = args.at(++i);
        } else if (positional->isNull() && !args.at(i).startsWith(QLatin1String("--"))) {
            *positional = args.at(i);
        } else {
            return false;
        }
    }
    return !positional->isEmpty();
}

} // namespace

int TransferCommands::fetch(const QStringList &args)
{
    QString name;
    QString to;
    if (!parse(args, QStringLiteral("--to"), &name, &to))
        return fail(QStringLiteral("fetch"), QStringLiteral("usage: knitjob fetch NAME [--to PATH]"), 2);
    if (!JobName::isSafe(name))
        return fail(QStringLiteral("fetch"), QStringLiteral("'%1' is not a plain file name").arg(name), 2);
    return transfer(false, to.isEmpty() ? name : to, name);
}

int TransferCommands::send(const QStringList &args)
{
    QString path;
    QString as;
    if (!parse(args, QStringLiteral("--as"), &path, &as))
        return fail(QStringLiteral("send"), QStringLiteral("usage: knitjob send PATH [--as NAME]"), 2);
    const QString name = as.isNull() ? TftpClient::remoteNameFor(path) : as;
    if (!JobName::isSafe(name))
        return fail(QStringLiteral("send"), QStringLiteral("'%1' is not a plain file name").arg(name), 2);
    return transfer(true, path, name);
}

int TransferCommands::transfer(bool upload, const QString &localPath, const QString &remoteName)
{
    const QString what = QStringLiteral("%1 %2").arg(upload ? "send" : "fetch", remoteName);
    quint32 server = 0;
    QString why;
    if (!PanelEnv::controllerIpv4(&server, &why))
        return fail(what, why, 1);
    TftpClient client;
    // A fetched file is replaced atomically, but not forced to disk: knitjob promises what cp
    // and tftp do, no more; the panel's own downloads stay durable.
    client.setDurable(false);
    QEventLoop loop;
    QObject::connect(&client, &TftpClient::over, &loop, &QEventLoop::quit);
    if (upload)
        client.putTo(localPath, remoteName, server);
    else
        client.getFrom(localPath, remoteName, server);
    if (client.isRunning())
        loop.exec();
    if (client.result() != TftpClient::Complete)
        return fail(what, client.reason(), 1);
    return 0;
}

int TransferCommands::fail(const QString &what, const QString &reason, int status)
{
    QTextStream(stderr) << "knitjob: " << what << ": " << reason << "\n";
    return status;
}
