#pragma once

#include <QString>

// The name the panel gives its machine on its own screen: the id of telemetry.ini when that
// file is good, else the computer's host name.
class MachineName
{
public:
    static QString current();
};
