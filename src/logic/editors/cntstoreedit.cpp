// CntStore's edits: a typed value checked and stored, the carrier toggles, the exchange of
// the two systems and the racking keys; each change sent first, in a parameter-update bracket,
// when the program is the current job's.
#include "cntstore.h"

#include "data/rowcodecbed.h"
#include "data/rowcodecselect.h"

#include <QtGlobal>

namespace {

const char kParamError[] = QT_TRANSLATE_NOOP("CntStore", "参数错误, 请查看参数说明 !");
const char kSendFailed[] = QT_TRANSLATE_NOOP("CntStore", "参数设置失败, 请重试 !");
const char kOpenFailed[] = QT_TRANSLATE_NOOP("CntStore", "进入设置界面失败, 请重试 !");
const char kRowOne[] = QT_TRANSLATE_NOOP("CntStore", "第1行不能设置循环 !");

constexpr int kRollerOnBit = 0x80;

// An unsigned decimal within lo ... hi; false for anything else.
bool number(const QString &text, unsigned lo, unsigned hi, unsigned *out)
{
    bool ok = false;
    *out = text.toUInt(&ok);
    return ok && *out >= lo && *out <= hi;
}

} // namespace

QString CntStore::enter(int group, int index, const QString &typed)
{
    if (!openBracket())
        return shown(kOpenFailed);
    return closeBracket(store(field(group, index), typed));
}

QString CntStore::toggleCarrier(int side, int c)
{
    if (!openBracket())
        return shown(kOpenFailed);
    const Field f = field(3, side == 0 ? 0 : 2);
    const QString message = put(f.offset, byte(f.offset) ^ (1u << (c & 7))) ? QString() : shown(kSendFailed);
    changed_ = true;
    return closeBracket(message);
}

QString CntStore::exchange()
{
    if (!openBracket())
        return shown(kOpenFailed);
    // Stops at the first refused byte, so the controller and the file never go on from a
    // half-exchanged row as if all had gone through.
    QString message;
    const struct { int first, count, distance; } runs[] = {{0, 20, kSystemII}, {80, 3, 3}};
    for (const auto &run : runs) {
        for (int i = run.first; i < run.first + run.count && message.isEmpty(); ++i) {
            const unsigned char mine = byte(i);
            const unsigned char other = byte(i + run.distance);
            if (!put(i + run.distance, mine) || !put(i, other))
                message = shown(kSendFailed);
        }
    }
    changed_ = true;
    return closeBracket(message);
}

QString CntStore::rackingKey(const QString &text, int key)
{
    QString t = text.leftJustified(3, QLatin1Char(' '), true);
    const auto cycle = [&t](int at, const QString &ring) {
        t[at] = ring.at((qMax(0, int(ring.indexOf(t.at(at)))) + 1) % ring.size());
    };
    if (key == Qt::Key_A)
        cycle(0, QStringLiteral(" LR"));
    else if (key == Qt::Key_B)
        cycle(2, QStringLiteral(" *+-"));
    else if (key >= Qt::Key_0 && key <= Qt::Key_7)
        t[1] = QLatin1Char(char('0' + key - Qt::Key_0));
    return t;
}

bool CntStore::openBracket()
{
    return !live_ || link_.open(kGroup);
}

QString CntStore::closeBracket(const QString &message)
{
    if (live_ && !link_.closeRetrying(kGroup) && message.isEmpty())
        return shown(kSendFailed);
    return message;
}

QString CntStore::store(const Field &f, const QString &typed)
{
    unsigned v = 0;
    bool ok = true;
    const auto rangeOr = [&](unsigned lo, unsigned hi) { return number(typed, lo, hi, &v); };
    switch (f.kind) {
    case PatLine:
        return rangeOr(0, 9999) ? storeU16(f.offset, static_cast<unsigned short>(v), true) : shown(kParamError);
    case Select: {
        const unsigned short mask = parseSelectorText(typed, &ok);
        return ok ? storeU16(f.offset, mask, f.sent) : shown(kParamError);
    }
    case BackTo: {
        if (!number(typed, 0, 0xffff, &v))
            return shown(kParamError);
        if (row_ == 1)
            return shown(kRowOne);
        if (v >= unsigned(row_))
            return shown(QT_TRANSLATE_NOOP("CntStore", "回到行数要小于当前行数 !"));
        if (byte(119) == 0)
            return shown(QT_TRANSLATE_NOOP("CntStore", "请设置循环次数 !"));
        if (v % 2 == 1 && row_ % 2 == 1)
            return shown(QT_TRANSLATE_NOOP("CntStore", "奇数行不能回到奇数行 !"));
        if (v % 2 == 0 && row_ % 2 == 0)
            return shown(QT_TRANSLATE_NOOP("CntStore", "偶数行不能回到偶数行 !"));
        if (v == 0)
            return shown(kParamError);
        return storeU16(f.offset, static_cast<unsigned short>(v - 1), true);
    }
    case Loop:
        if (row_ == 1)
            return shown(kRowOne);
        break;
    case Bed: {
        const unsigned short bed = parseBedText(typed, &ok);
        if (!put(101, static_cast<unsigned char>(bed >> 8)) || !put(100, static_cast<unsigned char>(bed & 0xff)))
            return shown(kSendFailed);
        changed_ = true;
        return {};
    }
    case Action:
    case Carriers:
    case Type:
        changed_ = true;
        return {};
    default:
        break;
    }
    static const struct { Kind kind; unsigned lo, hi; } kRanges[] = {
        {Density, 1, 24}, {Loop, 0, 255}, {OpeningRoller, 1, 24}, {MainRoller, 1, 24},
        {AuxiliaryRoller, 1, 24}, {Speed, 1, 24}, {Park, 1, 8},
    };
    for (const auto &r : kRanges) {
        if (r.kind != f.kind)
            continue;
        if (!rangeOr(r.lo, r.hi))
            return shown(kParamError);
        // The rollers' on bit stays as the file has it; the controller gets the group alone.
        const bool roller = f.kind == OpeningRoller || f.kind == AuxiliaryRoller;
        const unsigned char stored = static_cast<unsigned char>(roller ? (byte(f.offset) & kRollerOnBit) | v : v);
        if (live_ && !link_.row(static_cast<unsigned short>(row_), static_cast<unsigned short>(f.offset),
                                static_cast<unsigned char>(v)))
            return shown(kSendFailed);
        buffer_[rowBase() + f.offset] = char(stored);
        changed_ = true;
        return {};
    }
    return {};
}

QString CntStore::storeU16(int offset, unsigned short value, bool sent)
{
    if (!put(offset + 1, static_cast<unsigned char>(value >> 8), sent)
        || !put(offset, static_cast<unsigned char>(value & 0xff), sent))
        return shown(kSendFailed);
    return {};
}

bool CntStore::put(int offset, unsigned char value, bool sent)
{
    if (sent && live_ && !link_.row(static_cast<unsigned short>(row_), static_cast<unsigned short>(offset), value))
        return false;
    buffer_[rowBase() + offset] = char(value);
    // Set with each stored byte, so a field refused half-way still gets saved as the
    // controller now holds it.
    changed_ = true;
    return true;
}
