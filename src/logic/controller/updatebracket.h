#pragma once

#include <functional>

// One group's update bracket: opened, values set, closed. The controller takes a group's values
// only while its update is open, and a command that must be answered ("until it succeeds") is
// tried at most kTries times, so a controller that is off never freezes the panel for good.
class UpdateBracket
{
public:
    static constexpr int kTries = 10;
    // One command to the controller; true when it answered.
    using Send = std::function<bool(unsigned char command, unsigned char group, unsigned short value1,
                                    unsigned short value2)>;

    // Without send the commands go to the controller (setParameter).
    explicit UpdateBracket(int group, Send send = Send());
    // A try that fails sooner than ms (no route, a refused port) waits out the rest before the
    // next, so tries never spin.
    UpdateBracket &withFloor(int ms);

    // One try each.
    bool open() const;
    bool set(unsigned short index, unsigned short value) const;
    bool close() const;
    // Until answered, at most kTries tries.
    bool openRetrying() const;
    bool setRetrying(unsigned short index, unsigned short value) const;
    bool closeRetrying() const;

private:
    bool once(unsigned char command, unsigned short value1, unsigned short value2) const;
    bool retrying(unsigned char command, unsigned short value1, unsigned short value2) const;

    unsigned char group_;
    Send send_;
    int floorMs_ = 0;
};
