#pragma once

#include <string>

// The command trace on standard output: "send:%x %x ... \n" and "recv:%x ... \n\n".
class CommandTrace
{
public:
    static std::string sendLine(const unsigned char *bytes, int length);
    static std::string recvLine(const unsigned char *bytes, int length);
    // The bytes alone, "%x %x ... \n": the carriage test's trace of its own datagrams.
    static std::string plainLine(const unsigned char *bytes, int length);
    // Prints the line and flushes, so the trace survives a crash or a kill.
    static void print(const std::string &line);
};
