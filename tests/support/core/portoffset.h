#pragma once

#include <QUdpSocket>

#include <random>
#include <unistd.h>

// Picks a KNIT_PORT_OFFSET whose ports (69, 2001, 2700, 2800, 2900, 3000 plus the offset) are
// all free right now and sets it in this process's environment, so tests can run side by side.
class PortOffset
{
public:
    static int useFree()
    {
        std::mt19937 rng(std::random_device{}() ^ unsigned(::getpid()));
        int offset = 20000;
        for (int attempt = 0; attempt < 200; ++attempt) {
            // Offsets from 20000 to 28990 in steps of 10, clear of the host build's default 10000
            // and, with the highest base (3000), below the system's ephemeral ports (32768 up):
            // a socket bound to port 0 anywhere, even in this test, never takes a fixed port.
            offset = 20000 + int(rng() % 900) * 10;
            bool free = true;
            for (int base : {69, 2001, 2700, 2800, 2900, 3000})
                free = free && QUdpSocket().bind(QHostAddress::AnyIPv4, quint16(base + offset));
            if (free)
                break;
        }
        qputenv("KNIT_PORT_OFFSET", QByteArray::number(offset));
        return offset;
    }
};
