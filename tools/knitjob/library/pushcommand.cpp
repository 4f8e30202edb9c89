// knitjob push URL JOBDIR: uploads a job folder's NAME.cnt, NAME.pat and NAME.wrk to knitfleet
// serve's job library, logged in as the library page is (the login form, its session cookie and
// the session's CSRF token).
#include "officecommand.h"
#include "subcommand.h"
#include "tlssetup.h"
#include "toolcommandline.h"

#include "data/jobname.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTextStream>
#include <QUrlQuery>

namespace {

// The server's own bound on an upload; a file past it is not read.
constexpr qint64 kMaxFile = 32LL * 1024 * 1024;

struct Answer
{
    int status = 0; // 0: no HTTP answer
    QByteArray body;
    QByteArray location;
    QString error;
};

// One exchange with the server, waited for in an event loop of its own.
Answer exchange(QNetworkAccessManager &net, const QNetworkRequest &request, const QByteArray &method, QHttpMultiPart *multi,
                const QByteArray &body)
{
    QNetworkReply *reply = method == "GET" ? net.get(request) : multi ? net.post(request, multi) : net.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Answer a;
    a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    a.body = reply->read(1 << 20);
    a.location = reply->rawHeader("Location");
    a.error = reply->errorString();
    reply->deleteLater();
    return a;
}

// The server and the TLS configuration (--cafile's certificates) its answers are checked with,
// the file read once before the first request.
struct Office
{
    QUrl base;
    QSslConfiguration tls;
};

QNetworkRequest requestTo(const Office &office, const QString &path)
{
    const QUrl &base = office.base;
    QUrl url = base;
    url.setPath(base.path().chopped(base.path().endsWith(QLatin1Char('/')) ? 1 : 0) + path);
    QNetworkRequest r(url);
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    r.setTransferTimeout(60000);
    r.setSslConfiguration(office.tls);
    return r;
}

QString errorOf(const Answer &a)
{
    const QJsonObject o = QJsonDocument::fromJson(a.body).object();
    QString why = o.value(QLatin1String("error")).toString();
    // A file the panel's check refused: its result code before its message, as knitjob check says.
    if (o.contains(QLatin1String("code")))
        why = QStringLiteral("code %1: %2").arg(o.value(QLatin1String("code")).toInt()).arg(why);
    return a.status == 0 ? a.error : QStringLiteral("%1 (HTTP %2)").arg(why.isEmpty() ? a.error : why).arg(a.status);
}

// The session's CSRF token after a login by the form; empty with *status set when refused.
QByteArray signIn(const ToolCommandLine &cl, QNetworkAccessManager &net, const Office &base, const QString &user,
                  const QByteArray &password, int *status)
{
    QNetworkRequest login = requestTo(base, QStringLiteral("/login"));
    login.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("user"), user);
    form.addQueryItem(QStringLiteral("password"), QString::fromUtf8(password));
    const Answer in = exchange(net, login, "POST", nullptr, form.toString(QUrl::FullyEncoded).toUtf8());
    if (in.status != 303 || in.location != "/") {
        *status = cl.fail(in.status == 0 ? EX_UNAVAILABLE : EX_NOPERM,
                          in.status == 0 ? in.error : QStringLiteral("the login as %1 was refused").arg(user));
        return QByteArray();
    }
    const Answer session = exchange(net, requestTo(base, QStringLiteral("/api/session")), "GET", nullptr, {});
    const QByteArray csrf = QJsonDocument::fromJson(session.body).object().value(QLatin1String("csrf")).toString().toLatin1();
    if (csrf.isEmpty())
        *status = cl.fail(EX_PROTOCOL, QStringLiteral("no session after the login: %1").arg(errorOf(session)));
    return csrf;
}

void addPart(QHttpMultiPart *multi, const QByteArray &name, const QByteArray &fileName, const QByteArray &data)
{
    QHttpPart part;
    QByteArray disposition = "form-data; name=\"" + name + "\"";
    if (!fileName.isEmpty())
        disposition += "; filename=\"" + fileName + "\"";
    part.setHeader(QNetworkRequest::ContentDispositionHeader, disposition);
    part.setBody(data);
    multi->append(part);
}

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob push"), QString::fromUtf8(OfficeCommand::push.summary));
    QCommandLineParser &p = cl.parser();
    p.addPositionalArgument(QStringLiteral("URL"), QStringLiteral("knitfleet serve's address, http(s)://HOST:PORT."));
    p.addPositionalArgument(QStringLiteral("JOBDIR"), QStringLiteral("The job's folder, named as the job."));
    p.addOptions({{QStringLiteral("user"), QStringLiteral("The dashboard account (a supervisor's)."), QStringLiteral("NAME")},
                  {QStringLiteral("password-file"), QStringLiteral("The password: the file's first line."), QStringLiteral("FILE")},
                  {QStringLiteral("comment"), QStringLiteral("What changed, for the library's list."), QStringLiteral("TEXT")},
                  {QStringLiteral("cafile"), QStringLiteral("Certificates (PEM) to trust for https besides the system's."),
                   QStringLiteral("FILE")}});
    int status = 0;
    if (!cl.parse(args, &status))
        return status;
    const QStringList rest = p.positionalArguments();
    const QUrl base(rest.value(0));
    if (rest.size() != 2 || !(base.scheme() == QLatin1String("http") || base.scheme() == QLatin1String("https")) || base.host().isEmpty())
        return cl.usageError(QStringLiteral("needs URL (http:// or https://) and JOBDIR"));
    if (!p.isSet(QStringLiteral("user")) || !p.isSet(QStringLiteral("password-file")))
        return cl.usageError(QStringLiteral("needs --user and --password-file"));
    const QDir dir(rest[1]);
    const QString name = QDir::cleanPath(dir.absolutePath()).section(QLatin1Char('/'), -1);
    if (!JobName::isSafe(name) || name.contains(QLatin1Char('.')))
        return cl.usageError(QStringLiteral("'%1' is not a plain job name").arg(name.left(60)));
    QFile secret(p.value(QStringLiteral("password-file")));
    if (!secret.open(QIODevice::ReadOnly))
        return cl.fail(EX_NOINPUT, QStringLiteral("cannot read the password file %1").arg(secret.fileName()));
    const QByteArray password = secret.readLine(4096).trimmed();
    QByteArray files[3];
    const char *exts[3] = {"cnt", "pat", "wrk"};
    for (int i = 0; i < 3; ++i) {
        QFile f(dir.filePath(name + QLatin1Char('.') + QLatin1String(exts[i])));
        if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFile)
            return cl.fail(EX_NOINPUT, QStringLiteral("cannot read %1 (at most 32 MiB)").arg(f.fileName()));
        files[i] = f.readAll();
    }
    Office office{base, {}};
    QString why;
    if (!TlsSetup::configuration(p.value(QStringLiteral("cafile")), &office.tls, &why))
        return cl.fail(EX_NOINPUT, why);
    QNetworkAccessManager net;
    const QByteArray csrf = signIn(cl, net, office, p.value(QStringLiteral("user")), password, &status);
    if (csrf.isEmpty())
        return status;
    auto *multi = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    addPart(multi, "name", QByteArray(), name.toUtf8());
    addPart(multi, "comment", QByteArray(), p.value(QStringLiteral("comment")).toUtf8());
    for (int i = 0; i < 3; ++i)
        addPart(multi, exts[i], name.toUtf8() + '.' + exts[i], files[i]);
    QNetworkRequest upload = requestTo(office, QStringLiteral("/api/library"));
    upload.setRawHeader("X-CSRF-Token", csrf);
    const Answer a = exchange(net, upload, "POST", multi, {});
    delete multi;
    if (a.status != 200 && a.status != 201)
        return cl.fail(a.status == 400 ? EX_DATAERR : a.status == 403 ? EX_NOPERM : EX_UNAVAILABLE, errorOf(a));
    const QJsonObject o = QJsonDocument::fromJson(a.body).object();
    QTextStream(stdout) << name << " version " << o.value(QLatin1String("version")).toInt()
                        << (a.status == 200 ? " (the same files as before)" : "") << "\n";
    return 0;
}

const Subcommand::Registration registration(OfficeCommand::push.name, OfficeCommand::push.usage, OfficeCommand::push.summary, run);

} // namespace
