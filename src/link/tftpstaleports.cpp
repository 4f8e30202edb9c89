#include "tftpstaleports.h"

#include <algorithm>

bool TftpStalePorts::contains(std::uint16_t port) const
{
    return std::find(ports_.begin(), ports_.end(), port) != ports_.end();
}

void TftpStalePorts::mark(std::uint16_t port)
{
    ports_.erase(std::remove(ports_.begin(), ports_.end(), port), ports_.end());
    ports_.push_back(port);
    if (ports_.size() > kKept)
        ports_.erase(ports_.begin());
}
