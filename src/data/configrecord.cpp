#include "configrecord.h"

#include "panelfiles.h"
#include "platform/panelpaths.h"

#include <QFile>

QString ConfigRecord::checkPath()
{
    return PanelPaths::data(QStringLiteral("/para/checkconfig.cfg"));
}

ConfigRecord::Read ConfigRecord::read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        loaded_ = false;
        return Missing;
    }
    return parse(f.read(qint64(kConfigCheckSize))) ? Loaded : Short;
}

bool ConfigRecord::parse(const QByteArray &bytes)
{
    loaded_ = bytes.size() >= qsizetype(kConfigCheckSize);
    if (loaded_)
        data_.fill(bytes);
    return loaded_;
}

bool ConfigRecord::saveCheck() const
{
    return loaded_ && saveWholeFile(checkPath(), data_.data(), qint64(kConfigCheckSize)) == 1;
}
