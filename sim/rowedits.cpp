#include "rowedits.h"

#include "controlserver.h"
#include "simstate.h"

#include "data/jobname.h"
#include "data/patfile.h"
#include "data/protocol.h"
#include "link/commanddatagram.h"
#include "platform/atomicfile.h"

#include <QFile>

namespace {


quint16 word(const QByteArray &d, int at)
{
    return quint16(quint8(d[at]) | (quint8(d[at + 1]) << 8));
}

} // namespace

RowEdits::RowEdits(SimState *state, const QString &root, std::function<bool(int, int, quint8)> program,
                   std::function<QString()> job)
    : state_(state), root_(root), program_(std::move(program)), job_(std::move(job))
{
}

void RowEdits::observe(const QByteArray &d)
{
    if (d.size() != CommandDatagram::kSize || quint8(d[Protocol::EscapeByte]) != Protocol::Escape
        || quint8(d[Protocol::EndByte]) != Protocol::EndMark)
        return;
    // One file write per update rather than one per byte: a whole line is 512 bytes.
    if (quint8(d[0]) == Protocol::UpdateCommand && quint8(d[1]) == Protocol::ParameterForm[0]
        && quint8(d[Protocol::ObjectByte]) == Protocol::PatternGroup && word(d, Protocol::FirstValueByte) == Protocol::Close)
        return writePattern();
    if (quint8(d[0]) != Protocol::RowCommand || quint8(d[1]) != Protocol::RowForm[0])
        return;
    const int arg1 = word(d, 5);
    const int arg2 = word(d, 7);
    const quint8 value = quint8(d[9]);
    if (state_->isGroupOpen(Protocol::ProgramGroup)) {
        if (program_(arg1, arg2, value))
            cnt_[{arg1, arg2}] = value;
    } else if (state_->isGroupOpen(Protocol::PatternGroup)) {
        if (arg1 >= 1 && patternByte(arg1 - 1, arg2, value))
            pat_[{arg1, arg2}] = value;
    } else {
        ++unbracketed_;
    }
}

bool RowEdits::patternByte(int line, int k, quint8 value)
{
    const QString name = job_();
    // The name comes from file.knt: it never leaves the root.
    if (root_.isEmpty() || name.isEmpty() || !JobName::isSafe(name))
        return false;
    const QString path = root_ + QLatin1Char('/') + name + QStringLiteral(".pat");
    if (path != patternPath_) {
        writePattern();
        QFile file(path);
        pattern_ = file.open(QIODevice::ReadOnly) ? file.read(PatFile::kMaxFileSize + 1) : QByteArray();
        patternPath_ = path;
        patternCheck_ = PatFile::checkData(reinterpret_cast<const unsigned char *>(pattern_.constData()), pattern_.size());
    }
    const PatCheck &check = patternCheck_;
    if (!PatFile::isAccepted(check.code) || line >= check.height || k >= check.lineBytes)
        return false;
    const qsizetype at = qsizetype(check.lineBytes) * (line + 1) + k;
    if (pattern_.size() == check.expected + 1)
        pattern_[pattern_.size() - 1] = char(quint8(pattern_.at(pattern_.size() - 1)) - quint8(pattern_.at(at)) + value);
    pattern_[at] = char(value);
    patternDirty_ = true;
    return true;
}

void RowEdits::writePattern()
{
    if (patternDirty_)
        AtomicFile::save(patternPath_, pattern_);
    powerOff();
}

void RowEdits::powerOff()
{
    // Read again at the next update: a job sent meanwhile replaces the file.
    patternDirty_ = false;
    patternPath_.clear();
    pattern_.clear();
}

void RowEdits::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) { return ControlReply::ok(describe()); });
}

QStringList RowEdits::describe() const
{
    QStringList out;
    for (auto it = cnt_.constBegin(); it != cnt_.constEnd(); ++it)
        out << QStringLiteral("cnt %1 %2 %3").arg(it.key().first).arg(it.key().second).arg(it.value());
    for (auto it = pat_.constBegin(); it != pat_.constEnd(); ++it)
        out << QStringLiteral("pat %1 %2 %3").arg(it.key().first).arg(it.key().second).arg(it.value());
    out << QStringLiteral("unbracketed %1").arg(unbracketed_);
    return out;
}
