#include "configini.h"

#include "jobname.h"
#include "machinedata.h"
#include "platform/panelpaths.h"

#include <QFile>
#include <QList>
#include <QString>

namespace {

// Characters of each line that are a label, not checked.
constexpr int kLabel[6] = {9, 11, 10, 13, 6, 14};

// A colour component the palettes can use; anything else keeps the default.
bool colour(const QString &text, int *value)
{
    // The number parser stops at a NUL and would take "1\0" "2" for 1.
    if (text.contains(QChar(0)))
        return false;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < 0 || v > 255)
        return false;
    *value = v;
    return true;
}

QList<QByteArray> completeLines(const QByteArray &contents)
{
    QList<QByteArray> lines;
    const bool cut = contents.size() > ConfigIni::kMaxBytes;
    const QByteArray kept = cut ? contents.left(ConfigIni::kMaxBytes) : contents;
    qsizetype start = 0;
    while (start < kept.size() && lines.size() < 6) {
        const qsizetype nl = kept.indexOf('\n', start);
        if (nl < 0) {
            // The last line ends at the end of the file, unless the file was longer than read.
            if (!cut)
                lines.append(kept.mid(start));
            break;
        }
        lines.append(kept.mid(start, nl - start));
        start = nl + 1;
    }
    for (QByteArray &l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    return lines;
}

} // namespace

ConfigIni::Fields ConfigIni::defaults()
{
    return {85, 0, 255, 0, 0, 0};
}

ConfigIni::Fields ConfigIni::parse(const QByteArray &contents)
{
    Fields f = defaults();
    const QList<QByteArray> lines = completeLines(contents);
    for (int i = 0; i < lines.size(); ++i) {
        // Each line on its own, so one stray byte does not change how the others decode.
        const QString rest = JobName::decode(lines[i]).mid(kLabel[i]);
        switch (i) {
        case 0:
        case 1:
        case 2:
            colour(rest, &f[std::size_t(i)]);
            break;
        case 3:
            if (rest == QLatin1String("Config_Triangle_1234"))
                f[3] = 1;
            else if (rest == QLatin1String("Config_Triangle_TAVRO"))
                f[3] = 2;
            break;
        case 4:
            if (rest == QLatin1String("Config_Pech_Yes"))
                f[4] = 1;
            break;
        case 5:
            if (rest == QLatin1String("Config_Density_2324"))
                f[5] = 1;
            break;
        }
    }
    return f;
}

ConfigIni::Fields ConfigIni::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaults();
    const QByteArray contents = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return defaults();
    return parse(contents);
}

void readConfigIni(MachineData &data)
{
    data.setControllerConfig(ConfigIni::readFile(PanelPaths::data(QStringLiteral("/Config.ini"))));
}
