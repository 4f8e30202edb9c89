#pragma once

#include <QProcess>
#include <QStringList>

// Starts one of the project's own programs from a test. A cross build's tests run under
// user-mode emulation, which cannot start another program of the foreign architecture by
// itself: there the emulator is put in front of it.
inline void startOwnProgram(QProcess &process, const QString &program, const QStringList &arguments)
{
#ifdef KNIT_TEST_EMULATOR
    process.start(QStringLiteral(KNIT_TEST_EMULATOR), QStringList{program} + arguments);
#else
    process.start(program, arguments);
#endif
}
