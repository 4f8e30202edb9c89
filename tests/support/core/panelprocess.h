#pragma once

#include "ownprogram.h"

#include <QProcess>

// knitpanel run by an end-to-end test: on a screen's environment, with the test's root, port
// offset and time-out scale, the controller on loopback and the buzzer off; it keeps all the
// panel printed, for the checks of its trace.
class PanelProcess
{
public:
    ~PanelProcess() { stop(); }

    bool start(QProcessEnvironment env, const QString &root, int portOffset, const QString &timeoutScale = QStringLiteral("1"))
    {
        env.insert(QStringLiteral("KNIT_ROOT"), root);
        env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(portOffset));
        env.insert(QStringLiteral("KNIT_CONTROLLER_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
        env.insert(QStringLiteral("KNIT_TIMEOUT_SCALE"), timeoutScale);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        startOwnProgram(process_, QStringLiteral(KNITPANEL_PATH), {});
        return process_.waitForStarted(5000);
    }
    void stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }
    // True when the panel ended by itself within ms, with its exit status in code.
    bool ended(int ms, int *code)
    {
        if (!process_.waitForFinished(ms) || process_.exitStatus() != QProcess::NormalExit)
            return false;
        *code = process_.exitCode();
        return true;
    }
    qint64 processId() const { return process_.processId(); }
    // Everything the panel printed so far.
    QByteArray output()
    {
        out_ += process_.readAll();
        return out_;
    }

private:
    QProcess process_;
    QByteArray out_;
};
