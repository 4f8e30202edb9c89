// knitjob check FILE: the result code of the panel's file check and the facts behind it.
#include "subcommand.h"

#include "toolcommandline.h"

#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/patfile.h"

#include <QFile>
#include <QTextStream>

#include <memory>

namespace {

void printMessages(QTextStream &out, const QString &message, const QString &importMessage)
{
    if (!message.isEmpty())
        out << "message: " << message << "\n";
    else if (!importMessage.isEmpty())
        out << "import message: " << importMessage << "\n";
}

int checkCnt(const QString &path)
{
    QTextStream out(stdout);
    QByteArray bytes;
    const CntCheck c = CntFile::check(path, &bytes);
    out << "code " << c.code << "\n";
    out << "file: " << path << "\n";
    if (c.size >= 0)
        out << "size: " << c.size << "\n";
    if (CntFile::isAccepted(c.code)) {
        auto image = std::make_unique<CntProgram::Image>();
        const CntLoad load = CntProgram::loadInto(bytes, *image);
        // The loader's (size / 128) - 1; a file shorter than one record has no rows at all.
        out << "rows: " << qMax(0LL, c.size / 128 - 1) << "\n";
        if (load.ok)
            out << "length: " << load.rows << "\n";
    }
    out << "checksum stored: " << (c.storedChecksum < 0 ? QStringLiteral("none") : QString::number(c.storedChecksum)) << "\n";
    if (c.computedChecksum >= 0)
        out << "checksum computed: " << c.computedChecksum << "\n";
    printMessages(out, CntFile::message(c.code), CntFile::importMessage(c.code));
    return c.code;
}

int checkPat(const QString &path)
{
    QTextStream out(stdout);
    const PatCheck c = PatFile::check(path);
    out << "code " << c.code << "\n";
    out << "file: " << path << "\n";
    if (c.size >= 0)
        out << "size: " << c.size << "\n";
    if (c.width >= 0) {
        out << "width: " << c.width << "\n";
        out << "line bytes: " << c.lineBytes << "\n";
        out << "height: " << c.height << "\n";
    }
    if (PatFile::isAccepted(c.code))
        out << "effective width: " << patFileWidth(path) << "\n";
    if (c.expected >= 0)
        out << "expected size: " << c.expected << "\n";
    if (c.code == PatCheck::Ok || c.code == PatCheck::BadChecksum || c.code == PatCheck::NoChecksum)
        out << "checksum stored: " << (c.storedChecksum < 0 ? QStringLiteral("none") : QString::number(c.storedChecksum)) << "\n";
    if (c.computedChecksum >= 0)
        out << "checksum computed: " << c.computedChecksum << "\n";
    printMessages(out, PatFile::message(c.code), PatFile::importMessage(c.code));
    return c.code;
}

const char kSummary[] = "Checks a program or pattern file as the panel does; the exit status is the check's code.";

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob check"), QString::fromUtf8(kSummary));
    cl.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A .cnt program or a .pat pattern."),
                                      QStringLiteral("FILE.cnt|FILE.pat"));
    int status = 0;
    if (!cl.parse(args, &status))
        return status;
    const QStringList files = cl.parser().positionalArguments();
    if (files.size() != 1)
        return cl.usageError(QStringLiteral("needs one FILE.cnt or FILE.pat"));
    const QString path = files.first();
    if (path.endsWith(QLatin1String(".cnt"), Qt::CaseInsensitive))
        return checkCnt(path);
    if (path.endsWith(QLatin1String(".pat"), Qt::CaseInsensitive))
        return checkPat(path);
    return cl.usageError(QStringLiteral("%1 is neither a .cnt nor a .pat file").arg(path));
}

const Subcommand::Registration registration("check", "check FILE.cnt|FILE.pat", kSummary, run);

} // namespace
