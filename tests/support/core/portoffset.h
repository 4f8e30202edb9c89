#pragma once

#include <QByteArray>
#include <QDir>
#include <QUdpSocket>

#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Picks a KNIT_PORT_OFFSET whose ports (69, 2001, 2700, 2800, 2900, 3000 plus the offset) no
// other test holds and sets it in this process's environment, so tests can run side by side.
// A test binds its ports long after it picks them (a knitsim restarts, a panel is built per
// case), so a port found free is not enough: each offset is reserved by a lock on a file of
// its own, held until the process ends. And no two offsets share a port: the bases 2700-3000
// lie 100 apart, so offsets are 20000 + 400 k + 10 j (j < 10), whose differences are never
// 100, 200 or 300.
class PortOffset
{
public:
    static int useFree()
    {
        std::mt19937 rng(std::random_device{}() ^ unsigned(::getpid()));
        int offset = 20000;
        for (int attempt = 0; attempt < 500; ++attempt) {
            // Up to 28890: with the highest base (3000) below the system's ephemeral ports
            // (32768 up), so a socket bound to port 0 anywhere never takes a fixed port.
            offset = 20000 + int(rng() % 23) * 400 + int(rng() % 10) * 10;
            int lock = -1;
            if (reserve(offset, &lock) && portsFree(offset))
                break;
            if (lock >= 0)
                ::close(lock);
        }
        qputenv("KNIT_PORT_OFFSET", QByteArray::number(offset));
        return offset;
    }

private:
    static bool portsFree(int offset)
    {
        bool free = true;
        for (int base : {69, 2001, 2700, 2800, 2900, 3000})
            free = free && QUdpSocket().bind(QHostAddress::AnyIPv4, quint16(base + offset));
        return free;
    }

    // False if another test holds the offset. Its lock in *lock, never closed once kept: the
    // kernel lets it go when the process ends, however it ends. Without a lock file to be had
    // (-1), the ports alone decide.
    static bool reserve(int offset, int *lock)
    {
        const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/knit-port-offsets";
        ::mkdir(dir.constData(), 0777);
        *lock = ::open((dir + '/' + QByteArray::number(offset)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (*lock < 0 || ::flock(*lock, LOCK_EX | LOCK_NB) == 0)
            return true;
        ::close(*lock);
        *lock = -1;
        return false;
    }
};
