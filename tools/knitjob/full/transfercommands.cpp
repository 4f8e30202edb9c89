#include "transfercommands.h"

#include "subcommand.h"
#include "toolcommandline.h"

#include "data/jobname.h"
#include "link/tftpclient.h"
#include "platform/panelenv.h"

#include <QEventLoop>
#include <QFileInfo>

namespace {

const char kFetchSummary[] = "Fetches a file from the controller by TFTP.";
const char kSendSummary[] = "Sends a file to the controller by TFTP.";

const Subcommand::Registration fetchCommand("fetch", "fetch NAME [--to PATH]", kFetchSummary, &TransferCommands::fetch);
const Subcommand::Registration sendCommand("send", "send PATH [--as NAME]", kSendSummary, &TransferCommands::send);

// The one positional argument and the one option of fetch and send; false after a usage error.
bool parse(ToolCommandLine &cl, const QStringList &args, const QString &option, QString *positional, QString *value,
           int *status)
{
    if (!cl.parse(args, status))
        return false;
    const QStringList rest = cl.parser().positionalArguments();
    if (rest.size() != 1 || rest.first().isEmpty()) {
        *status = cl.usageError(QStringLiteral("needs one argument"));
        return false;
    }
    *positional = rest.first();
    *value = cl.parser().value(option);
    return true;
}

int unsafeName(const ToolCommandLine &cl, const QString &name)
{
    return cl.usageError(QStringLiteral("'%1' is not a plain file name").arg(name.left(60)));
}

} // namespace

int TransferCommands::fetch(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob fetch"), QString::fromUtf8(kFetchSummary));
    cl.parser().addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("The controller's file: a plain file name."));
    cl.parser().addOption({QStringLiteral("to"), QStringLiteral("Where the file goes (default: NAME in the current folder)."),
                           QStringLiteral("PATH")});
    QString name;
    QString to;
    int status = 0;
    if (!parse(cl, args, QStringLiteral("to"), &name, &to, &status))
        return status;
    if (!JobName::isSafe(name))
        return unsafeName(cl, name);
    return transfer(cl, false, to.isEmpty() ? name : to, name);
}

int TransferCommands::send(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob send"), QString::fromUtf8(kSendSummary));
    cl.parser().addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("The file to send."));
    cl.parser().addOption({QStringLiteral("as"), QStringLiteral("The name the controller stores it under (default: PATH's last part)."),
                           QStringLiteral("NAME")});
    QString path;
    QString as;
    int status = 0;
    if (!parse(cl, args, QStringLiteral("as"), &path, &as, &status))
        return status;
    const QString name = as.isEmpty() ? TftpClient::remoteNameFor(path) : as;
    if (!JobName::isSafe(name))
        return unsafeName(cl, name);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return cl.fail(EX_NOINPUT, QStringLiteral("cannot read %1").arg(path));
    return transfer(cl, true, path, name);
}

int TransferCommands::transfer(const ToolCommandLine &cl, bool upload, const QString &localPath, const QString &remoteName)
{
    quint32 server = 0;
    QString why;
    if (!PanelEnv::controllerIpv4(&server, &why))
        return cl.fail(EX_USAGE, why);
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
    switch (client.result()) {
    case TftpClient::Complete:
        return 0;
    case TftpClient::CannotWrite:
        return cl.fail(EX_CANTCREAT, QStringLiteral("%1: %2").arg(remoteName, client.reason()));
    default:
        // Silence, a refusal or a broken exchange: the controller is what failed.
        return cl.fail(EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(remoteName, client.reason()));
    }
}
