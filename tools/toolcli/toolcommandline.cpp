#include "toolcommandline.h"

#include "knitversion.h"

#include <QRegularExpression>
#include <QTextStream>

ToolCommandLine::ToolCommandLine(const QString &what, const QString &description)
    : what_(what),
      help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Prints this help and exits.")),
      version_(QStringLiteral("version"), QStringLiteral("Prints the version and exits."))
{
    parser_.setApplicationDescription(description);
    parser_.addOption(help_);
    parser_.addOption(version_);
}

bool ToolCommandLine::parse(const QStringList &args, int *status)
{
    if (!parser_.parse(QStringList(what_) + args)) {
        QString why = parser_.errorText();
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        *status = usageError(why);
        return false;
    }
    QTextStream out(stdout);
    if (parser_.isSet(help_)) {
        // Qt names the program by its path; a command's help names the command too.
        QString text = parser_.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: ") + what_);
        out << text;
        *status = 0;
        return false;
    }
    if (parser_.isSet(version_)) {
        out << what_.section(QLatin1Char(' '), 0, 0) << " " << KNIT_VERSION << "\n";
        *status = 0;
        return false;
    }
    return true;
}

bool ToolCommandLine::number(const QString &option, int min, int max, int *value, int *status) const
{
    if (!parser_.isSet(option))
        return true;
    bool ok = false;
    const int v = parser_.value(option).toInt(&ok);
    if (ok && v >= min && v <= max) {
        *value = v;
        return true;
    }
    *status = usageError(QStringLiteral("--%1 needs a whole number from %2 to %3").arg(option).arg(min).arg(max));
    return false;
}

int ToolCommandLine::fail(int status, const QString &message) const
{
    QTextStream(stderr) << what_ << ": " << message << "\n";
    return status;
}
