#include "pageroutes.h"

#include "telemetry/telemetryconfig.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QUrlQuery>

HttpReply PageRoutes::answer(const QString &path, const QUrl &url, const QByteArray &acceptLanguage)
{
    static const QList<QPair<QString, QString>> pages{{QStringLiteral("/"), QStringLiteral("index.html")},
                                                      {QStringLiteral("/shifts"), QStringLiteral("shifts.html")},
                                                      {QStringLiteral("/alerts"), QStringLiteral("alerts.html")},
                                                      {QStringLiteral("/audit"), QStringLiteral("audit.html")},
                                                      {QStringLiteral("/library"), QStringLiteral("library.html")}};
    for (const auto &p : pages)
        if (path == p.first)
            return page(p.second, url, acceptLanguage);
    if (path == QLatin1String("/report"))
        return reportDayKnown(QUrlQuery(url)) ? page(QStringLiteral("report.html"), url, acceptLanguage)
                                              : HttpReply::error(400, "day=YYYY-MM-DD and shift=1 to 24, if given");
    if (path.startsWith(QLatin1String("/machine/")) && TelemetryConfig::isMachineId(path.mid(9)))
        return page(QStringLiteral("machine.html"), url, acceptLanguage);
    if (path.startsWith(QLatin1String("/static/"))) {
        // The pages ask for their files under this build's mark (?v=): the browser keeps them
        // and a TV's page loads without asking for them again. They hold no data.
        HttpReply reply = file(path.mid(8));
        if (reply.status == 200 && QUrlQuery(url).queryItemValue(QStringLiteral("v")) == QLatin1String(filesMark()))
            reply.header("Cache-Control", "private, max-age=31536000, immutable");
        return reply;
    }
    if (path == QLatin1String("/login")) {
        // Fixed texts only, shown or hidden: nothing of the query reaches the page.
        const QUrlQuery q(url);
        HttpReply reply = page(QStringLiteral("login.html"), url, acceptLanguage);
        reply.body.replace("{{failed}}", q.hasQueryItem(QStringLiteral("failed")) ? "" : "hidden");
        reply.body.replace("{{locked}}", q.hasQueryItem(QStringLiteral("locked")) ? "" : "hidden");
        return reply;
    }
    HttpReply none;
    none.status = 0;
    return none;
}

HttpReply PageRoutes::file(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9_-]+(\\.min)?\\.(js|css|html|png)$"));
    QFile f(QStringLiteral(":/pages/") + name);
    if (!plain.match(name).hasMatch() || !f.open(QIODevice::ReadOnly))
        return HttpReply::error(404, "no such file");
    const QString ext = name.section(QLatin1Char('.'), -1);
    const QByteArray type = ext == QLatin1String("js")    ? "text/javascript; charset=utf-8"
                            : ext == QLatin1String("css") ? "text/css; charset=utf-8"
                            : ext == QLatin1String("png") ? "image/png"
                                                          : "text/html; charset=utf-8";
    return {200, type, f.readAll(), {}, false};
}

HttpReply PageRoutes::page(const QString &name, const QUrl &url, const QByteArray &acceptLanguage)
{
    HttpReply reply = file(name);
    // The pages' head and navigation are written once, so a new page or link cannot be missed in one.
    reply.body.replace("{{head}}", file(QStringLiteral("pagehead.html")).body.trimmed());
    reply.body.replace("{{nav}}", file(QStringLiteral("pagenav.html")).body.trimmed());
    reply.body.replace("{{lang}}", language(url, acceptLanguage));
    reply.body.replace("{{v}}", filesMark());
    return reply;
}

QByteArray PageRoutes::filesMark()
{
    static const QByteArray mark = [] {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QDirIterator files(QStringLiteral(":/pages"), QDir::Files);
        QStringList names;
        while (files.hasNext())
            names.append(files.next());
        names.sort();
        for (const QString &name : std::as_const(names)) {
            QFile f(name);
            if (f.open(QIODevice::ReadOnly))
                hash.addData(name.toUtf8() + '\0' + f.readAll());
        }
        return hash.result().toHex().left(16);
    }();
    return mark;
}

QByteArray PageRoutes::language(const QUrl &url, const QByteArray &accept)
{
    const QString asked = QUrlQuery(url).queryItemValue(QStringLiteral("lang"));
    if (asked == QLatin1String("zh") || asked == QLatin1String("en"))
        return asked.toLatin1();
    double best = 0;
    QByteArray lang = "en";
    for (const QByteArray &part : accept.split(',')) {
        const QList<QByteArray> bits = part.trimmed().split(';');
        const QByteArray tag = bits.value(0).trimmed().toLower();
        const double q = bits.size() > 1 && bits[1].trimmed().startsWith("q=") ? bits[1].trimmed().mid(2).toDouble() : 1.0;
        if ((tag.startsWith("zh") || tag.startsWith("en")) && q > best) {
            best = q;
            lang = tag.left(2);
        }
    }
    return lang;
}

bool PageRoutes::reportDayKnown(const QUrlQuery &q)
{
    const QString shift = q.queryItemValue(QStringLiteral("shift"));
    bool ok = true;
    const int n = shift.isEmpty() ? 1 : shift.toInt(&ok);
    const QString day = q.queryItemValue(QStringLiteral("day"));
    return day.size() == 10 && QDate::fromString(day, Qt::ISODate).isValid() && ok && n >= 1 && n <= 24;
}
