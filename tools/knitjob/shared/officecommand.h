#pragma once

// knitjob's commands for the office's job library, as knitjob's help lists them. They run in
// knitjob-library, the one helper that loads Qt Network and libcrypto: the front hands their
// command lines there, and knitjob-full, whose help lists every command, hands on those it gets.
struct OfficeCommand
{
    const char *name;
    const char *usage;
    const char *summary;

    static const OfficeCommand push;
    static const OfficeCommand library;

    // Whether a command line whose first argument is arg is one of these.
    static bool isOne(const char *arg);
};
