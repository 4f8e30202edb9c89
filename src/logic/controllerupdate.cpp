#include "controllerupdate.h"

#include "data/parablocks.h"
#include "link/commands.h"
#include "platform/panelenv.h"
#include "platform/sleeper.h"

#include <QElapsedTimer>

namespace {

// A try that failed at once (no route, a refused port) waits the rest of this before the
// next, so the loops never spin.
constexpr int kMinTryMs = 500;

bool closeOnce(int object, QElapsedTimer &clock)
{
    const qint64 start = clock.elapsed();
    if (setparacom(0x20, quint8(object), 0, 0))
        return true;
    const qint64 spent = clock.elapsed() - start;
    if (spent < kMinTryMs)
        Sleeper::sleepMs(int(kMinTryMs - spent));
    return false;
}

} // namespace

bool ControllerUpdate::enter(int object)
{
    return setparacom(0x20, quint8(object), 1, 0);
}

bool ControllerUpdate::leave(int object)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kCloseTries; ++i) {
        if (closeOnce(object, clock))
            return true;
    }
    return false;
}

bool ControllerUpdate::waitProgrammed(int object, const std::function<void()> &paint)
{
    QElapsedTimer clock;
    clock.start();
    const int limit = PanelEnv::scaledMs(kProgrammingMs);
    do {
        if (paint)
            paint();
        if (closeOnce(object, clock))
            return true;
    } while (clock.elapsed() < limit);
    return false;
}

QString ControllerUpdate::masterVersion()
{
    QString text = QStringLiteral("%1.%2.%3").arg(para_cur.byte(30)).arg(para_cur.byte(31)).arg(para_cur.byte(32));
    for (int i = 33; i <= 35; ++i) {
        const unsigned char c = para_cur.byte(i);
        if (c < 0x21 || c > 0x7e)
            break;
        text += QLatin1Char(char(c));
    }
    return text;
}

QString ControllerUpdate::slaveVersion()
{
    return QStringLiteral("%1.%2").arg(para_cur.byte(39)).arg(para_cur.byte(38));
}
