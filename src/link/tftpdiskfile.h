#pragma once

#include "link/tftptransfer.h"

#include <cstdint>
#include <string>

// The local file of a transfer on plain file calls: a download goes to a temporary file beside
// the target (".NAME.XXXXXX", the shape the panel's start-up clears after a crash) and replaces
// it by rename when whole, not forced to disk, as cp and tftp promise; an upload is read as it
// stands. The temporary file of a download that did not complete is removed.
class TftpDiskFile : public TftpTransfer::File
{
public:
    TftpDiskFile() = default;
    ~TftpDiskFile() override;
    TftpDiskFile(const TftpDiskFile &) = delete;
    TftpDiskFile &operator=(const TftpDiskFile &) = delete;

    // False with why (TftpTransfer's result and reason) when the file cannot be opened.
    bool openForDownload(const std::string &path, int *result, std::string *why);
    bool openForUpload(const std::string &path, std::int64_t *size, int *result, std::string *why);

    bool append(const char *data, std::size_t length, std::string *why) override;
    bool commit(std::string *why) override;
    std::size_t read(char *buffer, std::size_t length) override;

private:
    std::string path_;
    std::string tmp_;
    int fd_ = -1;
};
