#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

// Starts one of the project's own programs from a test. A cross build's tests run under
// user-mode emulation, which cannot start another program of the foreign architecture by
// itself: there the emulator is put in front of it, and the knitjob helper the front would exec
// (knitjob-library for push and library, knitjob-full for the rest) is started directly.
inline void startOwnProgram(QProcess &process, const QString &program, const QStringList &arguments)
{
#ifdef KNIT_TEST_EMULATOR
    const QFileInfo info(program);
    const QString command = arguments.value(0);
    const QString helper = command == QLatin1String("push") || command == QLatin1String("library")
                               ? QStringLiteral("knitjob-library")
                               : QStringLiteral("knitjob-full");
    const QString target = info.fileName() == QLatin1String("knitjob")
                               ? info.absolutePath() + QStringLiteral("/../lib/knitpanel/") + helper
                               : program;
    process.start(QStringLiteral(KNIT_TEST_EMULATOR), QStringList{target} + arguments);
#else
    process.start(program, arguments);
#endif
}

// Ends a program a test started: asked to end first, killed if still there after graceMs.
inline void endProgram(QProcess &process, int graceMs = 3000)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs)) {
        process.kill();
        process.waitForFinished(3000);
    }
}
