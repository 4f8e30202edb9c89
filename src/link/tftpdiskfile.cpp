#include "tftpdiskfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TftpDiskFile::~TftpDiskFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!tmp_.empty())
        ::unlink(tmp_.c_str());
}

bool TftpDiskFile::openForDownload(const std::string &path, int *result, std::string *why)
{
    path_ = path;
    *result = TftpTransfer::CannotWrite;
    struct stat st{};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (path.empty() || (exists && (S_ISDIR(st.st_mode) || ::access(path.c_str(), W_OK) != 0))) {
        *why = "cannot write " + path;
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string tmp = dir + "/." + name + ".XXXXXX";
    fd_ = ::mkostemp(&tmp[0], O_CLOEXEC);
    if (fd_ < 0) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    tmp_ = tmp;
    return true;
}

bool TftpDiskFile::openForUpload(const std::string &path, std::int64_t *size, int *result, std::string *why)
{
    path_ = path;
    *result = TftpTransfer::CannotRead;
    struct stat st{};
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = "cannot read " + path;
        return false;
    }
    *size = st.st_size;
    return true;
}

bool TftpDiskFile::append(const char *data, std::size_t length, std::string *why)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t w = ::write(fd_, data + done, length - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0) {
            *why = std::strerror(errno);
            return false;
        }
        done += std::size_t(w);
    }
    return true;
}

bool TftpDiskFile::commit(std::string *why)
{
    // The permissions an ordinary create gives (mkostemp makes 0600).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(tmp_.c_str(), path_.c_str()) != 0) {
        *why = std::strerror(errno);
        return false;
    }
    tmp_.clear();
    return true;
}

std::size_t TftpDiskFile::read(char *buffer, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t r = ::read(fd_, buffer + done, length - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        done += std::size_t(r);
    }
    return done;
}
