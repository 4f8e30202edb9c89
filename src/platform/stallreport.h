#pragma once

#include "stallrecorder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// With KNIT_STALL_REPORT=FILE set, watches the GUI thread's event loop with a 20 ms timer and
// keeps in FILE how long it went without a turn, the mandated waits (a command's reply, a
// transfer's pass, a beep) apart, and how much of each gap the thread ran and how much it
// stood ready while the processor ran others, and where in the kernel it was blocked if it
// was (sampled from a second thread while the gap lasts); unset, nothing runs and a wait
// costs one load.
class StallReport : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTickMs = 20;
    // How often FILE is rewritten, so that a panel that is killed leaves its figures too.
    static constexpr int kWriteMs = 2000;

    // Starts the watch on the calling (GUI) thread when the variable names a file; it ends
    // with the application, writing FILE a last time.
    static void armFromEnvironment();
    // The application's own (its child), which the waits tell; nullptr while none.
    static StallReport *armed();
    // How long the calling thread has stood ready to run while the processor ran others, in
    // ns since it started; 0 where the kernel does not keep it.
    static qint64 readyNs();

    explicit StallReport(const QString &path, QObject *parent = nullptr);
    ~StallReport() override;

    // A mandated wait on the GUI thread; waits on other threads do not hold its loop up.
    class Wait
    {
    public:
        Wait();
        ~Wait();
        Wait(const Wait &) = delete;
        Wait &operator=(const Wait &) = delete;

    private:
        bool counted_ = false;
        qint64 startedNs_ = 0;
        qint64 startedCpuNs_ = 0;
    };

    const StallRecorder &recorder() const { return recorder_; }
    bool write() const;

private:
    void tick();
    void sample();
    bool writeText(const QByteArray &text) const;

    QString path_;
    StallRecorder recorder_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::atomic<qint64> lastTickNs_{0};
    qint64 lastTickCpuNs_ = 0;
    qint64 lastTickQueuedNs_ = 0;
    int schedstat_ = -1; // this thread's scheduler figures, kept open
    qint64 waitedNs_ = 0;    // in waits since the last tick
    qint64 waitedCpuNs_ = 0; // the thread's CPU time in those waits
    std::atomic<int> depth_{0}; // waits inside waits count once

    // The sampler: while the loop has not turned for a while outside a wait, it notes the
    // kernel function the GUI thread sleeps in (its wchan), which the tick then keeps.
    int guiTid_ = 0;
    mutable std::mutex mutex_; // the recorder and blockedIn_
    std::condition_variable wake_;
    bool stopping_ = false;
    QByteArray blockedIn_;
    std::thread sampler_;
};
