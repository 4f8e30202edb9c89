#include "simstate.h"

#include "parameterstore.h"
#include "workblock.h"

#include "data/factorydefaults.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const char kSys[] = "file.sys";
const char kConfig[] = "config.cfg";
const char kKnt[] = "file.knt";

QByteArray readAtMost(const QString &path, qint64 limit)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(limit + 1);
}

bool parseNumber(const QString &text, quint32 limit, quint32 *out)
{
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok, 0);
    if (!ok || v > limit)
        return false;
    *out = quint32(v);
    return true;
}

} // namespace

SimState::SimState(const QString &root)
    : root_(root)
{
}

QString SimState::filePath(const QString &name) const
{
    return root_ + QLatin1Char('/') + name;
}

QByteArray SimState::defaultBlock(const QString &name) const
{
    if (name == QLatin1String(kSys)) {
        ParamBlock<kSystemSize> block;
        FactoryDefaults::buildSystem(block, 0);
        return block.toByteArray();
    }
    if (name == QLatin1String(kConfig))
        return QByteArray(kConfigSize, '\0');
    if (name == QLatin1String("speed.mth")) {
        ParamBlock<kCarrierSpeedSize> block;
        FactoryDefaults::buildCarrierSpeed(block);
        return block.toByteArray();
    }
    if (name == QLatin1String(WorkBlock::kName)) {
        ParamBlock<kWorkSize> block;
        FactoryDefaults::buildWork(block);
        return block.toByteArray();
    }
    return QByteArray(kKntSize, '\0');
}

bool SimState::prepareFiles(QString *error)
{
    if (!QDir().mkpath(root_)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(root_);
        return false;
    }
    const QPair<const char *, int> blocks[] = {{kSys, kSysSize}, {kConfig, kConfigSize}, {kKnt, kKntSize}};
    for (const auto &b : blocks) {
        const QString path = filePath(QLatin1String(b.first));
        if (readAtMost(path, b.second).size() == b.second)
            continue;
        if (!AtomicFile::save(path, defaultBlock(QLatin1String(b.first)), error))
            return false;
    }
    return true;
}

bool SimState::updateFileBytes(const QString &name, int size, int offset, const QByteArray &bytes)
{
    if (root_.isEmpty() || offset < 0 || offset + bytes.size() > size)
        return false;
    // Read from disk each time: a TFTP put may have replaced the block meanwhile.
    QByteArray data = readAtMost(filePath(name), size);
    if (data.size() != size)
        data = defaultBlock(name);
    data.replace(offset, bytes.size(), bytes);
    return AtomicFile::save(filePath(name), data);
}

bool SimState::updateFileWord(const QString &name, int size, int word, quint16 value)
{
    const char bytes[2] = {char(value & 0xff), char(value >> 8)};
    return word >= 0 && updateFileBytes(name, size, 2 * word, QByteArray(bytes, 2));
}

quint16 SimState::fileWord(const QString &name, int word) const
{
    const QByteArray data = readAtMost(filePath(name), 1 << 20);
    if (word < 0 || 2 * word + 1 >= data.size())
        return 0;
    return quint16(quint8(data[2 * word]) | (quint8(data[2 * word + 1]) << 8));
}

void SimState::setGroupOpen(int group, bool open)
{
    if (open)
        open_.insert(group);
    else
        open_.remove(group);
    if (groupListener_)
        groupListener_(group, open);
}

void SimState::setValue(int group, int index, quint16 value)
{
    values_[{group, index}] = value;
    if (group == 1)
        updateFileWord(QLatin1String(kSys), kSysSize, index, value);
    else if (group == 32)
        updateFileWord(QLatin1String(kConfig), kConfigSize, index, value);
    else
        ParameterStore::setValue(*this, group, index, value);
    WorkBlock::setValue(*this, group, index, value);
}

bool SimState::hasValue(int group, int index) const
{
    return values_.contains({group, index});
}

quint16 SimState::value(int group, int index) const
{
    return values_.value({group, index}, 0);
}

void SimState::powerOff()
{
    open_.clear();
    rows_.clear();
    motoStatus_ = 0;
}

void SimState::setRowByte(quint16 row, quint16 offset, quint8 byte)
{
    rows_[{row, offset}] = byte;
    ++rowCommands_;
}

void SimState::home()
{
    ++homes_;
    if (homeListener_)
        homeListener_();
}

void SimState::setAction(int code, quint16 argument)
{
    actions_[code] = argument;
    ParameterStore::setAction(*this, code, argument);
    if (actionListener_)
        actionListener_(code, argument);
}

bool SimState::set(const QString &name, const QString &value, QString *error)
{
    quint32 v = 0;
    if (!parseNumber(value, 0xffff, &v)) {
        *error = QStringLiteral("value must be a number from 0 to 65535");
        return false;
    }
    const QStringList parts = name.split(QLatin1Char('.'));
    quint32 a = 0;
    quint32 b = 0;
    if (parts.size() == 1 && parts[0] == QLatin1String("motostatus")) {
        motoStatus_ = quint16(v);
        return true;
    }
    if (parts.size() == 2 && parts[0] == QLatin1String("action") && parseNumber(parts[1], 0xffff, &a)) {
        setAction(int(a), quint16(v));
        return true;
    }
    if (parts.size() == 3 && parts[0] == QLatin1String("value") && parseNumber(parts[1], 0xff, &a)
        && parseNumber(parts[2], 0xffff, &b)) {
        setValue(int(a), int(b), quint16(v));
        return true;
    }
    *error = QStringLiteral("unknown setting %1").arg(name);
    return false;
}

bool SimState::setReply(const QStringList &args, QString *error)
{
    const QStringList fields = args.value(0).split(QLatin1Char('.'));
    quint32 code = 0;
    quint32 v = 0;
    if (args.isEmpty() || args.size() > 2) {
        *error = QStringLiteral("usage: set reply action.C [N]");
        return false;
    }
    if (fields.size() != 2 || fields[0] != QLatin1String("action") || !parseNumber(fields[1], 0xffff, &code)) {
        *error = QStringLiteral("unknown reply %1: action.C with C from 0 to 65535").arg(args[0]);
        return false;
    }
    if (args.size() == 1) {
        replies_.remove(int(code));
        return true;
    }
    if (!parseNumber(args[1], 0xffff, &v)) {
        *error = QStringLiteral("value must be a number from 0 to 65535");
        return false;
    }
    replies_[int(code)] = quint16(v);
    return true;
}

QStringList SimState::describe() const
{
    QStringList out;
    QList<int> open = open_.values();
    std::sort(open.begin(), open.end());
    for (int g : open)
        out << QStringLiteral("open %1").arg(g);
    for (auto it = values_.constBegin(); it != values_.constEnd(); ++it)
        out << QStringLiteral("value %1 %2 %3").arg(it.key().first).arg(it.key().second).arg(it.value());
    for (auto it = actions_.constBegin(); it != actions_.constEnd(); ++it)
        out << QStringLiteral("action %1 %2").arg(it.key()).arg(it.value());
    for (auto it = replies_.constBegin(); it != replies_.constEnd(); ++it)
        out << QStringLiteral("reply %1 %2").arg(it.key()).arg(it.value());
    for (auto it = rows_.constBegin(); it != rows_.constEnd(); ++it)
        out << QStringLiteral("row %1 %2 %3").arg(it.key().first).arg(it.key().second).arg(it.value());
    out << QStringLiteral("motostatus %1").arg(motoStatus_);
    out << QStringLiteral("homes %1").arg(homes_);
    return out;
}
