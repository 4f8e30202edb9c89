#include "workfile.h"

#include "machinedata.h"
#include "platform/atomicfile.h"

#include <QFile>

namespace {

constexpr int kGroups = 24;
constexpr int kLines = 8;

int word(const QByteArray &b, int i)
{
    if (i < 0 || 2 * i + 1 >= b.size())
        return 0;
    return quint8(b[2 * i]) | (quint8(b[2 * i + 1]) << 8);
}

QString groupLabel(int n)
{
    //: The views are columns of a fixed-width text: keep each heading's width.
    return WorkFile::tr("   第%1组").arg(n, 2, 10, QLatin1Char('0'));
}

// Adds blanks, then the value (a word) with at least digits digits (leading zeros), to line:
// written in place, as the views print some six hundred of them.
void field(QString &line, int blanks, int digits, int value)
{
    char reversed[16];
    int n = 0;
    for (unsigned v = unsigned(value); n == 0 || v > 0; v /= 10)
        reversed[n++] = char('0' + v % 10);
    while (n < digits && n < int(sizeof reversed))
        reversed[n++] = '0';
    const qsizetype at = line.size();
    line.resize(at + blanks + n);
    QChar *out = line.data() + at;
    for (int i = 0; i < blanks; ++i)
        out[i] = QLatin1Char(' ');
    for (int i = 0; i < n; ++i)
        out[blanks + i] = QLatin1Char(reversed[n - 1 - i]);
}

// A group's line: its label, then a field for each of count words, step apart from first.
QString groupLine(int group, int blanks, int digits, const QByteArray &b, int first, int step, int count)
{
    QString line = groupLabel(group);
    line.reserve(line.size() + count * (blanks + 5));
    for (int k = 0; k < count; ++k)
        field(line, blanks, digits, word(b, first + k * step));
    return line;
}

QStringList density(const QByteArray &b)
{
    QStringList out{WorkFile::tr("   组  号      I前1     I前2     I后1     I后2    II前1    II前2    II后1    II后2")};
    for (int g = 0; g < kGroups; ++g)
        out << groupLine(g + 1, 5, 3, b, g * 8, 1, 8);
    return out;
}

QStringList speed(const QByteArray &b)
{
    QStringList out{WorkFile::tr("   组  号     速    度   ")};
    for (int g = 0; g < kGroups; ++g)
        out << groupLine(g + 1, 7, 2, b, 240 + g, 0, 1);
    return out;
}

QStringList rollerTexts(const QByteArray &b)
{
    QStringList out{WorkFile::tr("   组  号       主 罗 拉     辅助罗拉     开合罗拉   ")};
    for (int g = 0; g < kGroups; ++g)
        out << groupLine(g + 1, 11, 2, b, 270 + g, 30, 3);
    return out;
}

QStringList mouth(const QByteArray &b)
{
    QStringList out;
    const char *const headers[] = {
        QT_TRANSLATE_NOOP("WorkFile", "   组  号            1号纱觜            2号纱觜            3号纱觜            4号纱觜"),
        QT_TRANSLATE_NOOP("WorkFile", "   组  号            5号纱觜            6号纱觜            7号纱觜            8号纱觜")};
    const int bases[] = {360, 424};
    for (int t = 0; t < 2; ++t) {
        out << WorkFile::tr(headers[t]);
        for (int l = 0; l < kLines; ++l)
            out << groupLine(l + 1, 8, 2, b, bases[t] + l, 8, 8);
    }
    return out;
}

QStringList replace(const QByteArray &b)
{
    QStringList out{WorkFile::tr("    单  片      纱嘴1    纱嘴2    纱嘴3    纱嘴4    纱嘴5    纱嘴6   纱嘴7    纱嘴8")};
    QString single = WorkFile::tr("    替换为:");
    for (int c = 0; c < 8; ++c)
        field(single, 10, 1, word(b, 696 + c));
    out << single;
    out << WorkFile::tr("    片展开      衣片1    衣片2    衣片3    衣片4    衣片5    衣片6   衣片7    衣片8");
    // Carrier c of piece p is word 704 + 8p + c, c counted from 0 as the pages store it.
    for (int c = 0; c < 8; ++c) {
        QString line = WorkFile::tr("    纱嘴  %1").arg(c + 1);
        for (int p = 0; p < 8; ++p)
            field(line, 10, 1, word(b, 704 + c + 8 * p));
        out << line;
    }
    return out;
}

} // namespace

bool WorkFile::read(const QString &path, QByteArray *out)
{
    out->clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.read(kSize + 1);
    if (data.size() != kSize)
        return false;
    *out = data;
    return true;
}

bool WorkFile::save(const MachineData &data, const QString &path)
{
    static_assert(kSize == int(kWorkSize), "a .wrk is the image of the work block");
    return !path.isEmpty() && AtomicFile::save(path, data.work().data(), kSize);
}

QStringList WorkFile::view(View v, const QByteArray &block)
{
    switch (v) {
    case Density:
        return density(block);
    case Speed:
        return speed(block);
    case Rollers:
        return rollerTexts(block);
    case CarrierParking:
        return mouth(block);
    case Replace:
        return replace(block);
    case ViewCount:
        break;
    }
    return {};
}
