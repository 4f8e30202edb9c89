#include "alarmsequence.h"

#include <QFile>

AlarmSequence::AlarmSequence(Raise raise, QObject *parent)
    : QObject(parent)
    , raise_(std::move(raise))
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AlarmSequence::fire);
}

bool AlarmSequence::play(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    std::vector<Step> steps;
    int lineNo = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(256).trimmed();
        ++lineNo;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> w = line.simplified().split(' ');
        bool ok[3] = {false, false, false};
        const int delay = w.size() == 3 ? w[0].toInt(&ok[0]) : -1;
        const int type = w.size() == 3 ? w[1].toInt(&ok[1]) : -1;
        const int code = w.size() == 3 ? w[2].toInt(&ok[2]) : -1;
        if (!ok[0] || !ok[1] || !ok[2] || delay < 0 || delay > 3600000 || type < 0 || type > 255 || code < 0
            || code > 255 || int(steps.size()) >= kMaxSteps) {
            *why = QStringLiteral("%1 line %2: DELAY_MS TYPE CODE (0-3600000, 0-255, 0-255), at most %3 lines")
                       .arg(path).arg(lineNo).arg(kMaxSteps);
            return false;
        }
        steps.push_back({delay, static_cast<unsigned char>(type), static_cast<unsigned char>(code)});
    }
    stop();
    steps_ = std::move(steps);
    if (!steps_.empty())
        timer_.start(steps_.front().delayMs);
    return true;
}

void AlarmSequence::stop()
{
    timer_.stop();
    steps_.clear();
    next_ = 0;
}

void AlarmSequence::fire()
{
    // Steps due at once go out together, so a delay of 0 keeps its meaning at high rates.
    do {
        const Step &s = steps_[next_++];
        raise_(s.type, s.code);
    } while (next_ < steps_.size() && steps_[next_].delayMs == 0);
    if (next_ < steps_.size())
        timer_.start(steps_[next_].delayMs);
}
