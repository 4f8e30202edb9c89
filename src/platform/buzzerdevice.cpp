#include "buzzerdevice.h"

#include "panelpaths.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {
int g_fd = -1;
}

bool BuzzerDevice::open()
{
    if (g_fd >= 0)
        return true;
    if (qgetenv("KNIT_BUZZER") == "off")
        return false;
    const QByteArray path = QFile::encodeName(PanelPaths::buzzerDevice());
    g_fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
#ifndef KNIT_PANEL_BUILD
    // A plain file stands for the device: append, so a test can read the on/off sequence.
    if (g_fd >= 0)
        ::lseek(g_fd, 0, SEEK_END);
#endif
    return g_fd >= 0;
}

bool BuzzerDevice::isOpen()
{
    return g_fd >= 0;
}

void BuzzerDevice::write16(unsigned short value)
{
    if (g_fd < 0)
        return;
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xff), static_cast<unsigned char>(value >> 8)};
    ssize_t ignored = ::write(g_fd, bytes, 2);
    (void)ignored;
}

void BuzzerDevice::close()
{
    if (g_fd >= 0)
        ::close(g_fd);
    g_fd = -1;
}
