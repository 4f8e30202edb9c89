#include "libraryconfig.h"

#include "platform/panelenv.h"
#include "platform/panelpaths.h"
#include "platform/strictini.h"


namespace {

const QStringList kKeys{QStringLiteral("url"), QStringLiteral("machine"), QStringLiteral("token"), QStringLiteral("cafile")};
const QString kSection = QStringLiteral("library");

} // namespace

bool LibraryConfig::take(const StrictIni::Section &section, LibraryConfig *config, QString *why)
{
    for (const QString &key : {QStringLiteral("url"), QStringLiteral("machine"), QStringLiteral("token")}) {
        if (!section.contains(key)) {
            *why = QStringLiteral("[library] needs url, machine and token");
            return false;
        }
    }
    LibraryConfig c;
    for (const QString &key : kKeys) {
        const auto it = section.constFind(key);
        if (it != section.constEnd() && !c.set(key, it->text, why)) {
            *why = QStringLiteral("line %1: %2").arg(it->line).arg(*why);
            return false;
        }
    }
    if (!c.cafile.isEmpty() && c.url.scheme() != QLatin1String("https")) {
        *why = QStringLiteral("cafile is for https:// urls");
        return false;
    }
    *config = c;
    return true;
}

QString LibraryConfig::path()
{
    return PanelPaths::data(QStringLiteral("/library.ini"));
}

bool LibraryConfig::load(LibraryConfig *config, QString *why)
{
    return StrictIni::load(path(), kMaxFileBytes, kSection, kKeys,
                           [config](const StrictIni::Section &section, QString *w) { return take(section, config, w); }, why);
}

bool LibraryConfig::parse(const QByteArray &text, LibraryConfig *config, QString *why)
{
    StrictIni::Section section;
    return StrictIni::read(text, kMaxFileBytes, kSection, kKeys, &section, why)
        && take(section, config, why);
}

bool LibraryConfig::set(const QString &key, const QString &value, QString *why)
{
    if (key == QLatin1String("url")) {
        url = QUrl(value, QUrl::StrictMode);
        const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
        // A login in the URL would end up in messages: the token is a setting of its own.
        if (!url.isValid() || !web || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()
            || (!url.path().isEmpty() && url.path() != QLatin1String("/"))) {
            *why = QStringLiteral("url must be http(s)://host[:port] with no path or login");
            return false;
        }
        if (!StrictIni::plainAscii(url.host(), QLatin1String(".-:"))) {
            *why = QStringLiteral("url's host may hold only letters, digits, '.' and '-'");
            return false;
        }
        if (!PanelEnv::mayReach(url.host())) {
            *why = QStringLiteral("library %1 is not on loopback; a host build talks only to loopback unless "
                                  "KNIT_ALLOW_REMOTE=1 is set").arg(url.host());
            return false;
        }
        return true;
    }
    if (key == QLatin1String("machine")) {
        machine = value;
        if (!value.isEmpty() && value.size() <= kMaxMachineLength && StrictIni::plainAscii(value, QLatin1String("-_")))
            return true;
        *why = QStringLiteral("machine must be 1 to %1 letters, digits, '-' or '_'").arg(kMaxMachineLength);
        return false;
    }
    if (key == QLatin1String("token")) {
        // The value is never quoted back: it is the machine's secret. It goes into a header line.
        if (!value.isEmpty() && value.size() <= kMaxTokenLength && StrictIni::plainAscii(value, QLatin1String("-_.~+/="))) {
            token = value.toLatin1();
            return true;
        }
        *why = QStringLiteral("token must be 1 to %1 letters, digits or -_.~+/=").arg(kMaxTokenLength);
        return false;
    }
    return StrictIni::cafile(value, &cafile, why);
}
