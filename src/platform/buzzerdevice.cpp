#include "buzzerdevice.h"

#include "panelpaths.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

BuzzerDevice::BuzzerDevice(QObject *parent)
    : QObject(parent)
{
}

BuzzerDevice::~BuzzerDevice()
{
    close();
}

bool BuzzerDevice::open()
{
    if (fd_ >= 0)
        return true;
    if (qgetenv("KNIT_BUZZER") == "off")
        return false;
    const QByteArray path = QFile::encodeName(PanelPaths::buzzerDevice());
    fd_ = ::open(path.constData(), O_RDWR | O_CLOEXEC);
#ifndef KNIT_PANEL_BUILD
    // A plain file stands for the device: append, so a test can read the on/off sequence.
    if (fd_ >= 0)
        ::lseek(fd_, 0, SEEK_END);
#endif
    return fd_ >= 0;
}

void BuzzerDevice::write16(unsigned short value)
{
    if (fd_ < 0)
        return;
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xff), static_cast<unsigned char>(value >> 8)};
    ssize_t ignored = ::write(fd_, bytes, 2);
    (void)ignored;
}

void BuzzerDevice::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
