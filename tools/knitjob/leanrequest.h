#pragma once

#include "link/tftptransfer.h"

#include <string>

// A fetch or send command line that the plain front can carry out as knitjob-full would: one
// plain ASCII file name, at most the one option, settings in their usual form. Anything else
// (help, version, a usage error, a name that needs encoding, a setting written oddly, a file
// that cannot be read) is not taken, and knitjob-full answers it with its own texts.
class LeanRequest
{
public:
    // argv as main gets it; false when the command line is not taken.
    bool read(int argc, char **argv);
    // The exit status and, on failure, one line on standard error, as knitjob-full gives them.
    int run() const;

private:
    bool readSettings();

    bool upload_ = false;
    std::string localPath_;
    std::string remoteName_;
    TftpTransfer::Peer peer_;
};
