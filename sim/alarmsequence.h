#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// Replays a file of alarms for long runs: each line "DELAY_MS TYPE CODE" raises TYPE CODE
// DELAY_MS after the line before (TYPE 0 CODE 0 clears); blank lines and lines starting with
// "#" are skipped. One sequence at a time: a new one replaces it.
class AlarmSequence : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxSteps = 100000;
    using Raise = std::function<void(unsigned char type, unsigned char code)>;

    explicit AlarmSequence(Raise raise, QObject *parent = nullptr);

    // False with the reason when the file cannot be read or a line is not "MS TYPE CODE".
    bool play(const QString &path, QString *why);
    void stop();
    int remaining() const { return int(steps_.size() - next_); }

private:
    struct Step
    {
        int delayMs;
        unsigned char type;
        unsigned char code;
    };
    void fire();

    Raise raise_;
    QTimer timer_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
};
