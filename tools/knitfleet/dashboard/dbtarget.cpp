#include "dbtarget.h"

#include <QDir>
#include <QRegularExpression>

bool DbTarget::parse(const QString &text, DbTarget *target, QString *why)
{
    DbTarget t;
    const QLatin1String scheme("postgresql://");
    if (!text.startsWith(scheme)) {
        t.path = text;
        *target = t;
        return !text.isEmpty() || (*why = QStringLiteral("--db needs a file or a postgresql:// URL"), false);
    }
    static const QRegularExpression shape(QStringLiteral("^postgresql://(?:([A-Za-z0-9_.-]+)(:[^@]*)?@)?"
                                                         "([A-Za-z0-9_.-]*)(?::([0-9]{1,5}))?/([A-Za-z0-9_-]{1,63})$"));
    const QRegularExpressionMatch m = shape.match(text);
    if (m.hasMatch() && !m.captured(2).isEmpty()) {
        *why = QStringLiteral("--db: no password in the URL; put it in ~/.pgpass or PGPASSFILE");
        return false;
    }
    const int port = m.captured(4).toInt();
    if (!m.hasMatch() || (m.hasCaptured(4) && (port < 1 || port > 65535))) {
        *why = QStringLiteral("--db: not a postgresql://[user@][host][:port]/name URL");
        return false;
    }
    t.postgres = true;
    t.user = m.captured(1);
    t.host = m.captured(3);
    t.port = m.hasCaptured(4) ? port : -1;
    t.name = m.captured(5);
    *target = t;
    return true;
}

QString DbTarget::defaultPath()
{
    return QDir::homePath() + QStringLiteral("/.local/share/knitfleet/fleet.sqlite");
}

QString DbTarget::text() const
{
    if (!postgres)
        return path;
    return QStringLiteral("postgresql://%1%2%3/%4")
        .arg(user.isEmpty() ? QString() : user + QLatin1Char('@'), host,
             port > 0 ? QStringLiteral(":%1").arg(port) : QString(), name);
}
