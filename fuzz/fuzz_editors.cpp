// The editors' readers of outside input: the program editor on any .cnt bytes (every field
// shown, typed into and stored, the carriers and the exchange), the page grid on any pattern
// size with any moves and jumps, and knitsim's row commands on any datagrams. Nothing may
// reach outside the program or pattern, and a store never changes the program's size.
#include "logic/editors/cntstore.h"
#include "logic/editors/patgrid.h"
#include "rowedits.h"
#include "simstate.h"

#include "link/commanddatagram.h"
#include "seeds.h"

#include <QByteArray>

namespace {

EditorLink offline()
{
    EditorLink l;
    l.bracket = [](int, bool) { return true; };
    l.row = [](unsigned short, unsigned short, unsigned char) { return true; };
    l.motoStatus = [] { return 0u; };
    return l;
}

void program(const QByteArray &in)
{
    // The first 8 bytes are what the operator types, the rest the file.
    const QString typed = QString::fromLatin1(in.left(8));
    CntStore s(offline());
    if (s.loadData(QString(), in.mid(8), true) != CntStore::Loaded)
        return;
    const qsizetype size = s.buffer().size();
    for (const int r : {1, 2, s.rows()}) {
        s.setRow(r);
        for (int g = 0; g < CntStore::kGroups; ++g) {
            for (int i = 0; i < CntStore::kIndices; ++i) {
                (void)s.text(g, i);
                (void)s.help(g, i);
                (void)s.enter(g, i, typed);
                (void)s.enter(g, i, CntStore::rackingKey(typed, Qt::Key_A + in.size() % 3));
            }
        }
        (void)s.toggleCarrier(r % 2, r % 8);
        (void)s.exchange();
    }
    ABORT_IF(s.buffer().size() != size);
}

void grid(const QByteArray &in)
{
    if (in.size() < 6)
        return;
    const auto u = [&in](int at) { return int(quint8(in[at])); };
    PatGrid g;
    g.layout(u(0) * 4, u(1) * 2, 1 + u(2) % 12, 1 + u(3) % 14, u(4) * 2 + 1, u(5) * 16 + 1);
    for (int at = 6; at < in.size(); ++at) {
        const int c = u(at);
        if (c < 200)
            (void)g.direct(c % 8 < 2 ? (c % 2 ? 'L' : 'R') : PatGrid::PageHigher + c % 6);
        else if (c < 220)
            g.findColumn(unsigned(c * 37));
        else if (c < 240)
            g.findLine(unsigned(c * 53));
        else
            (void)g.setCursorAt(c * 3 % 700, c * 7 % 400);
        g.clampCursor();
        ABORT_IF(g.byteIndex() < 0 || g.byteIndex() >= g.lineBytes || g.line() < 0 || g.line() >= g.height || g.half < 0 || g.half > 1);
    }
}

void datagrams(const QByteArray &in)
{
    // Fresh per input, so a finding replays from its input alone.
    SimState state{QString()};
    QByteArray copy(4 * 128, '\0');
    RowEdits edits(&state, QString(), [&copy](int row, int offset, quint8 v) {
        const qsizetype at = qsizetype(row) * 128 + offset;
        if (row < 1 || offset < 0 || offset >= 128 || at >= copy.size())
            return false;
        copy[at] = char(v);
        return true;
    }, [] { return QStringLiteral("../x"); });
    for (qsizetype at = 0; at + 12 <= in.size(); at += 12) {
        const QByteArray d = in.mid(at, 12);
        edits.observe(d);
        state.setGroupOpen(quint8(d[5]) % 16, quint8(d[6]) % 2);
    }
    ABORT_IF(edits.describe().isEmpty() || copy.size() != 4 * 128);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    const QByteArray in(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        program(in);
        break;
    case 1:
        grid(in);
        break;
    default:
        datagrams(in);
        break;
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string cnt(8, '5');
    cnt += std::string(3 * 128, '\x01');
    unsigned char open[CommandDatagram::kSize];
    unsigned char row[CommandDatagram::kSize];
    CommandDatagram::parameter(open, 0x20, 13, 1, 0);
    CommandDatagram::row(row, 2, 93, 7);
    const std::string rows = std::string(reinterpret_cast<const char *>(open), 12) + std::string(reinterpret_cast<const char *>(row), 12);
    return {std::string(1, '\0') + withSum(cnt), std::string("\x01\x98\xb3\x0a\x0c\x07\x03\x01\x02\xd2\xe6\xf5", 12),
            std::string(1, '\x02') + rows};
}
