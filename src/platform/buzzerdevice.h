#pragma once

#include <QObject>

// The buzzer device: /dev/buzzer on the panel, $KNIT_ROOT/dev/buzzer (a plain file) in a host
// build. KNIT_BUZZER=off keeps it closed, so every beep is silent and takes no time. The panel's
// main() makes one as a child of the application (ApplicationParts); the beeps find it there.
class BuzzerDevice : public QObject
{
    Q_OBJECT

public:
    explicit BuzzerDevice(QObject *parent = nullptr);
    ~BuzzerDevice() override;

    bool open(); // for reading and writing, once; false if absent
    bool isOpen() const { return fd_ >= 0; }
    void write16(unsigned short value); // one 2-byte write
    void close();

private:
    int fd_ = -1;
};
