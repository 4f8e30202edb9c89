#include "knitsimulation.h"

#include "simstate.h"

#include "data/cntprogram.h"
#include "data/cntrow.h"
#include "data/jobname.h"
#include "data/protocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The controller counts two rows more than the program.
constexpr int kRowOffset = 2;

} // namespace

KnitSimulation::KnitSimulation(SimState *state, const QString &root, QObject *parent)
    : QObject(parent)
    , state_(state)
    , root_(root)
{
    connect(&rowTimer_, &QTimer::timeout, this, &KnitSimulation::nextRow);
    needleTimer_.setInterval(kNeedleMs);
    connect(&needleTimer_, &QTimer::timeout, this, &KnitSimulation::tickNeedle);
    timeTimer_.setInterval(1000);
    connect(&timeTimer_, &QTimer::timeout, this, &KnitSimulation::tickTimes);
    zeroTimer_.setSingleShot(true);
    connect(&zeroTimer_, &QTimer::timeout, this, &KnitSimulation::finishZeroing);
    state_->setActionListener([this](int code, quint16 argument) { onAction(code, argument); });
    state_->setHomeListener([this] { onHome(); });
}

KnitSimulation::~KnitSimulation()
{
    state_->setActionListener({});
    state_->setHomeListener({});
}

void KnitSimulation::onAction(int code, unsigned short argument)
{
    // Only the latest of each counts; the row lock is read from the action's state each row.
    if (code == Protocol::SkipToRow) {
        skipTo_ = argument;
        skipReady_ = false;
    } else if (code == Protocol::StopAtRow) {
        stopAt_ = argument;
    } else if (code == Protocol::ClearPieces) {
        pieces_ = 0;
    }
}

void KnitSimulation::onHome()
{
    // The panel's zero key: the machine leaves its zero and finds it again at the next start.
    zeroArmed_ = true;
    setZeroed(false);
}

void KnitSimulation::setZeroed(bool zeroed)
{
    zeroed_ = zeroed;
    state_->updateFileBytes(QStringLiteral("file.knt"), SimState::kKntSize, Protocol::RunningByte, QByteArray(1, char(zeroed ? 1 : 0)));
}

bool KnitSimulation::open(FaultLayer *network, QString *error)
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    if (!sender_.open(loopback, loopback, network)) {
        if (error)
            *error = QStringLiteral("report socket cannot be bound");
        return false;
    }
    // A root keeps the machine's zero from one run to the next, as the controller keeps it.
    zeroed_ = (state_->fileWord(QStringLiteral("file.knt"), 0) & 0xff) != 0;
    return true;
}

void KnitSimulation::powerOff()
{
    running_ = false;
    skipping_ = false;
    rowTimer_.stop();
    needleTimer_.stop();
    timeTimer_.stop();
    zeroTimer_.stop();
    sequence_.stop();
    program_.clear();
    sender_.close();
}

void KnitSimulation::powerOn()
{
    sender_.reopen();
}

QString KnitSimulation::newestProgram() const
{
    const QFileInfoList files = QDir(root_).entryInfoList({QStringLiteral("*.cnt")}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().completeBaseName();
}

bool KnitSimulation::load(const QString &name, QString *error)
{
    // Without a name: the program held before a power cycle, else the newest.
    const QString job = !name.isEmpty() ? name : !programName_.isEmpty() ? programName_ : newestProgram();
    if (job.isEmpty()) {
        *error = QStringLiteral("no program: send a job first or name one");
        return false;
    }
    // A name from the control line never leaves the root.
    if (!JobName::isSafe(job)) {
        *error = QStringLiteral("not a plain job name");
        return false;
    }
    QFile file(root_ + QLatin1Char('/') + job + QStringLiteral(".cnt"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no program %1.cnt").arg(job);
        return false;
    }
    const QByteArray data = file.read(kCntMaxFileSize + 1);
    if (data.size() < qsizetype(2 * kCntRecordSize) || data.size() > kCntMaxFileSize) {
        *error = QStringLiteral("%1.cnt holds no rows or is too large").arg(job);
        return false;
    }
    program_ = data;
    programName_ = job;
    rows_ = CntProgram::rowCount(reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    return true;
}

bool KnitSimulation::loadProgram(const QString &name, QString *error)
{
    if (running_ || !load(name, error))
        return false;
    row_ = 0;
    return true;
}

bool KnitSimulation::setProgramByte(int row, int offset, unsigned char value)
{
    QString why;
    if (program_.isEmpty() && !load(QString(), &why))
        return false;
    const qsizetype at = qsizetype(row) * qsizetype(kCntRecordSize) + offset;
    if (row < 1 || offset < 0 || offset >= int(kCntRecordSize) || at >= program_.size())
        return false;
    program_[at] = char(value);
    return true;
}

unsigned char KnitSimulation::rowByte(int row, int offset) const
{
    const qsizetype at = qsizetype(row) * qsizetype(kCntRecordSize) + offset;
    return at >= 0 && at < program_.size() ? static_cast<unsigned char>(program_.at(at)) : 0;
}

bool KnitSimulation::start(const QString &name, QString *error)
{
    if (running_)
        return true;
    if ((program_.isEmpty() || !name.isEmpty()) && !load(name, error))
        return false;
    running_ = true;
    started_ = true;
    state_->setMotoStatus(1);
    loopLeft_ = -1;
    stopSeconds_ = 0;
    // A skip the program has no row for leaves the carriage where it is.
    if (skipTo_ < 1 || skipTo_ > rows_) {
        skipTo_ = 0;
        skipReady_ = false;
    }
    if (!zeroed_ && !zeroArmed_ && skipTo_ == 0) {
        // A machine that never found its zero finds it before it first knits.
        beginZeroing(AfterZeroing::Knit);
        return true;
    }
    sender_.status(Protocol::MachineStarted, 0, 0);
    if (zeroArmed_ || (skipTo_ != 0 && !skipReady_)) {
        // The start lever after the zero key or a row skip: zeroing, and the carriage stands at
        // row 1 for the next start.
        beginZeroing(AfterZeroing::Stand);
        return true;
    }
    if (skipTo_ != 0) {
        // Rows before the skip's row are run through, each reported with the skip flag.
        row_ = 1;
        skipping_ = skipTo_ > 1;
        if (!skipping_) {
            skipTo_ = 0;
            skipReady_ = false;
        }
    } else if (row_ < 1 || row_ > rows_) {
        row_ = 1;
    }
    knit();
    return true;
}

void KnitSimulation::knit()
{
    reportRow();
    rowTimer_.start(1000 / speed_);
    needleTimer_.start();
    timeTimer_.start();
}

void KnitSimulation::stop()
{
    if (!running_)
        return;
    running_ = false;
    skipping_ = false;
    state_->setMotoStatus(0);
    rowTimer_.stop();
    needleTimer_.stop();
    zeroTimer_.stop();
    sender_.status(Protocol::MachineStopped, 0, 0);
}

void KnitSimulation::zero()
{
    stop();
    beginZeroing(AfterZeroing::Stand);
}

void KnitSimulation::beginZeroing(AfterZeroing after)
{
    afterZeroing_ = after;
    skipping_ = false;
    setZeroed(false);
    sender_.status(Protocol::ZeroingStarted, 0, 0);
    zeroTimer_.start(zeroingMs_);
}

void KnitSimulation::finishZeroing()
{
    row_ = 1;
    needle_ = 0;
    zeroArmed_ = false;
    skipReady_ = skipTo_ != 0;
    setZeroed(true);
    const bool wasRunning = running_;
    const bool knitOn = running_ && afterZeroing_ == AfterZeroing::Knit;
    if (wasRunning && !knitOn) {
        // Standing before the panel hears of the zero, so its status query finds it stopped.
        running_ = false;
        state_->setMotoStatus(0);
    }
    sender_.status(Protocol::ZeroingFinished, 0, 0);
    if (knitOn) {
        sender_.status(Protocol::MachineStarted, 0, 0);
        knit();
    } else if (wasRunning) {
        sender_.status(Protocol::MachineStopped, 0, 0);
    }
}

void KnitSimulation::setSpeed(int rowsPerSecond)
{
    speed_ = qBound(1, rowsPerSecond, kMaxRowsPerSecond);
    if (rowTimer_.isActive())
        rowTimer_.start(1000 / speed_);
}

void KnitSimulation::reportRow()
{
    // A row the carriage runs through without knitting it (a skip) is reported as being cancelled.
    const unsigned short word = static_cast<unsigned short>(row_ + kRowOffset) | (skipping_ ? Protocol::RowCancelling : 0);
    sender_.status(Protocol::RowReport, static_cast<unsigned short>(pieces_), word);
}

void KnitSimulation::nextRow()
{
    if (skipping_) {
        // The skip's row is reported without the flag: the carriage knits on from it.
        if (++row_ >= skipTo_) {
            row_ = skipTo_;
            skipping_ = false;
            skipTo_ = 0;
            skipReady_ = false;
        }
        reportRow();
        return;
    }
    // Row N is done: stop on it as `stop` would, once. Before the lock, so a locked row N
    // still stops after one pass.
    if (stopAt_ != 0 && row_ == stopAt_) {
        stopAt_ = 0;
        stop();
        return;
    }
    // A locked row is knitted again, and reported, until the lock is released.
    if (state_->action(Protocol::RowLock) != 0) {
        reportRow();
        return;
    }
    // A row with a loop count sends the carriage back to its return row that many times.
    const int loops = rowByte(row_, int(offsetof(CntRow, loop_count)));
    if (loops > 0) {
        const int back = (rowByte(row_, 117) | (rowByte(row_, 118) << 8)) + 1;
        if (loopLeft_ < 0)
            loopLeft_ = loops;
        if (loopLeft_ > 0 && back >= 1 && back < row_) {
            sender_.status(Protocol::LoopRows, static_cast<unsigned short>(back), static_cast<unsigned short>(row_));
            sender_.status(Protocol::LoopCounts, static_cast<unsigned short>(loops), static_cast<unsigned short>(loopLeft_ - 1));
            --loopLeft_;
            row_ = back;
            reportRow();
            return;
        }
        loopLeft_ = -1;
    }
    if (row_ >= rows_) {
        row_ = 1;
        ++pieces_;
        pieceSeconds_ = 0;
    } else {
        ++row_;
    }
    reportRow();
}

void KnitSimulation::tickNeedle()
{
    needle_ += needleStep_;
    if (needle_ >= width_ || needle_ <= 0)
        needleStep_ = -needleStep_;
    needle_ = qBound(0, needle_, width_);
    pulses_ = static_cast<unsigned short>(pulses_ + 4 * qAbs(needleStep_));
    sender_.needle(pulses_, needle_);
}

void KnitSimulation::tickTimes()
{
    if (!started_)
        return;
    if (running_) {
        ++pieceSeconds_;
        ++knitSeconds_;
        sender_.status(Protocol::KnittingTime, knitSeconds_, pieceSeconds_);
    } else {
        ++stopSeconds_;
        ++stopTotal_;
        sender_.status(Protocol::StopTime, stopTotal_, stopSeconds_);
    }
}
