#pragma once

#include <QtGlobal>

// Sends one command datagram from the panel's command port (2900 + offset) to address:port
// (IPv4, host byte order) and blocks in poll() until the reply comes or timeoutMs passes. The
// reply replaces the first length bytes of buffer. Returns 1 for a reply in time, else 0. length is 1 to 12.
unsigned char exchangeCommand(quint32 address, quint16 port, int timeoutMs,
                          unsigned char *buffer, int length);

// Sends the datagram once from the panel's command port and returns at once.
void sendCommandOnce(quint32 address, quint16 port, const unsigned char *buffer, int length);
