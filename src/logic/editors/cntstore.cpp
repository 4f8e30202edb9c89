#include "cntstore.h"

#include "data/cntchecksum.h"
#include "data/rowcodecaction.h"
#include "data/rowcodecbed.h"
#include "data/rowcodecselect.h"
#include "platform/atomicfile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstring>

namespace {

const char kUseExchange[] = QT_TRANSLATE_NOOP("CntStore", "说明: 请使用系统交换功能");
const char kGroupRange[] = QT_TRANSLATE_NOOP("CntStore", "参数范围 : 1 ~ 24");

constexpr int kRecord = int(kCntRecordSize);
constexpr int kBlock2 = 10;
constexpr int kCarriersI = 81;
constexpr int kCarriersII = 84;

} // namespace

QString CntStore::shown(const char *text)
{
    return QCoreApplication::translate("CntStore", text);
}

CntStore::CntStore(EditorLink link)
    : link_(std::move(link))
{
}

CntStore::Load CntStore::load(const QString &path, bool live)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loadData(path, {}, false);
        return OpenFailed;
    }
    return loadData(path, file.read(kCntMaxFileSize), live);
}

int CntStore::rowsOf(qint64 size)
{
    return qMax(0, int(qMin<qint64>(size, kCntMaxFileSize) / kRecord) - 1);
}

CntStore::Load CntStore::loadData(const QString &path, const QByteArray &data, bool live)
{
    path_ = path;
    row_ = 1;
    live_ = false;
    changed_ = false;
    buffer_.clear();
    rows_ = rowsOf(data.size());
    if (rows_ == 0) {
        return EmptyFile;
    }
    buffer_ = data.left(qsizetype(rows_ + 1) * kRecord);
    live_ = live;
    return Loaded;
}

bool CntStore::save(QString *error) const
{
    QByteArray data = buffer_;
    data.append(char(cntChecksum(reinterpret_cast<const unsigned char *>(buffer_.constData()), buffer_.size())));
    return AtomicFile::save(path_, data, error);
}

void CntStore::setRow(int r)
{
    row_ = qBound(1, r, qMax(1, rows_));
}

QString CntStore::jump(const QString &text)
{
    bool ok = false;
    const unsigned r = text.toUInt(&ok);
    if (!ok || r == 0)
        return {};
    if (r > unsigned(rows_))
        return shown(QT_TRANSLATE_NOOP("CntStore", "跳行超过文件总行数"));
    row_ = int(r);
    return {};
}

CntRow CntStore::current() const
{
    CntRow out;
    std::memset(&out, 0, sizeof out);
    if (rows_ > 0)
        std::memcpy(&out, buffer_.constData() + rowBase(), sizeof out);
    return out;
}

CntStore::Field CntStore::field(int group, int index) const
{
    Field f;
    if (group < 0 || group >= kGroups || index < 0 || index >= kIndices)
        return f;
    const bool even = row_ % 2 == 0;
    const bool blocks = group != 3 && group < 7;
    if (blocks) {
        const int sub = group % 4;
        f.side = sub == 0 ? index : index / 2;
        if (sub == 0 && index > 1)
            return f;
        const bool left = f.side == 0;
        const int system = (left == even) ? 0 : kSystemII;
        const int base = system + (group < 4 ? kBlock2 : 0);
        if (sub == 0) {
            f.kind = PatLine;
            f.offset = base;
        } else if (index % 2 == 0) {
            f.kind = Select;
            f.offset = base + (sub == 1 ? 3 : 7);
            f.sent = group < 4;
        } else {
            f.kind = Action;
            f.offset = base + 2;
            f.hText = sub == 2;
        }
        return f;
    }
    static const Field kRest[3][kIndices] = {
        {{Carriers, -1, true, false, 0}, {Density, 92}, {Carriers, -1, true, false, 1}, {Type, -1}},
        {{BackTo, 117}, {Loop, 119}, {Bed, 100}, {OpeningRoller, 96}},
        {{MainRoller, 94}, {AuxiliaryRoller, 95}, {Speed, 93}, {Park, 107}},
    };
    f = kRest[group == 3 ? 0 : group - 6][index];
    if (f.kind == Carriers)
        f.offset = (f.side == 0) == even ? kCarriersI : kCarriersII;
    return f;
}

QString CntStore::text(int group, int index) const
{
    const Field f = field(group, index);
    const auto u16 = [this](int at) { return unsigned(byte(at) | (byte(at + 1) << 8)); };
    QString a;
    QString h;
    switch (f.kind) {
    case PatLine:
        return QString::number(u16(f.offset));
    case Select:
        return selectorText(static_cast<unsigned short>(u16(f.offset)));
    case Action:
        actionTexts(&a, &h, byte(f.offset));
        return f.hText ? h : a;
    case Carriers:
        return carrierNumbersText(byte(f.offset));
    case Type:
        return QString::fromUtf8("单面"); // a cell value the parsers read back
    case BackTo:
        return QString::number(u16(f.offset) + 1);
    case Bed:
        return bedText(byte(100), byte(101));
    case OpeningRoller:
    case AuxiliaryRoller:
        return rollerText(byte(f.offset));
    case Density:
    case Loop:
    case MainRoller:
    case Speed:
    case Park:
        return QString::number(byte(f.offset));
    case None:
        break;
    }
    return {};
}

bool CntStore::carrier(int side, int c) const
{
    const Field f = field(3, side == 0 ? 0 : 2);
    return (byte(f.offset) >> c) & 1;
}

int CntStore::maxLength(int group, int index)
{
    static const int kBottom[2][kIndices] = {{4, 3, 3, 2}, {2, 2, 2, 1}};
    if (group >= 7 && group < kGroups && index >= 0 && index < kIndices)
        return kBottom[group - 7][index];
    if (group == 3)
        return index == 1 ? 2 : 0;
    if (group % 4 == 0)
        return 4;
    return index % 2 == 0 ? 16 : 0;
}

QString CntStore::help(int group, int index) const
{
    switch (field(group, index).kind) {
    case Carriers:
        return shown(QT_TRANSLATE_NOOP("CntStore", "数字 : 1 ~ 8 选择纱嘴"));
    case Type:
        return shown(QT_TRANSLATE_NOOP("CntStore", "默认 : 单面"));
    case BackTo:
        return shown(QT_TRANSLATE_NOOP("CntStore", "参数范围 : 1 ~%1")).arg(rows_);
    case Loop:
        return shown(QT_TRANSLATE_NOOP("CntStore", "参数范围 : 0 ~ 255"));
    case Park:
        return shown(QT_TRANSLATE_NOOP("CntStore", "参数范围 : 1 ~ 8"));
    case Bed:
        return {};
    case Density:
    case OpeningRoller:
    case MainRoller:
    case AuxiliaryRoller:
    case Speed:
        return shown(kGroupRange);
    default:
        return shown(kUseExchange);
    }
}

CntStore::Place CntStore::moved(int group, int index, int key)
{
    int g = group;
    int i = index;
    const bool narrow = g == 0 || g == 4;
    if (key == Qt::Key_Left && i > 0) {
        --i;
    } else if (key == Qt::Key_Right && i < (narrow ? 1 : 3)) {
        ++i;
    } else if (key == Qt::Key_Up && g > 0) {
        --g;
        if (g == 0 || g == 4)
            i /= 2;
        else if (g == 3 && narrow && i == 1)
            i = 2;
    } else if (key == Qt::Key_Down && g < kGroups - 1) {
        ++g;
        if (g == 4)
            i /= 2;
        else if (narrow && i == 1)
            i = 2;
    }
    return {g, i};
}

unsigned char CntStore::byte(int offset) const
{
    const int at = rowBase() + offset;
    return at >= 0 && at < buffer_.size() ? static_cast<unsigned char>(buffer_.at(at)) : 0;
}
