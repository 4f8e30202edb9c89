// push and library in knitjob-full: listed in its help with the other commands, and handed whole
// to knitjob-library beside it, so that this program loads neither Qt Network nor libcrypto.
// The front hands these command lines there itself; they reach this program only past a
// top-level option ("knitjob -- push ...") or when it is started directly.
#include "helperprogram.h"
#include "officecommand.h"
#include "subcommand.h"

#include <QFile>

#include <vector>

namespace {

int handOn(const OfficeCommand &command, const QStringList &args)
{
    std::vector<QByteArray> words{QByteArrayLiteral("knitjob"), QByteArray(command.name)};
    for (const QString &arg : args)
        words.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return HelperProgram::exec("knitjob-library", argv.data());
}

int push(const QStringList &args)
{
    return handOn(OfficeCommand::push, args);
}

int library(const QStringList &args)
{
    return handOn(OfficeCommand::library, args);
}

const Subcommand::Registration pushCommand(OfficeCommand::push.name, OfficeCommand::push.usage, OfficeCommand::push.summary, push);
const Subcommand::Registration libraryCommand(OfficeCommand::library.name, OfficeCommand::library.usage, OfficeCommand::library.summary,
                                              library);

} // namespace
