#include "leanrequest.h"

#include "link/tftpdiskfile.h"
#include "link/tftpport.h"
#include "platform/paneldefaults.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sysexits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::size_t kMaxName = 251;

// A name that is sent as it is written: printable ASCII, no path, not hidden.
bool plainName(const std::string &name)
{
    if (name.empty() || name.size() > kMaxName || name[0] == '.')
        return false;
    for (const char c : name) {
        if (c < 0x20 || c > 0x7e || c == '/' || c == '\\')
            return false;
    }
    return true;
}

// The variable's value, or "" when unset.
std::string env(const char *name)
{
    const char *v = std::getenv(name);
    return v ? v : "";
}

bool allOf(const std::string &text, const char *chars)
{
    return !text.empty() && text.find_first_not_of(chars) == std::string::npos;
}

} // namespace

bool LeanRequest::read(int argc, char **argv)
{
    if (argc < 3)
        return false;
    const std::string command = argv[1];
    upload_ = command == "send";
    if (!upload_ && command != "fetch")
        return false;
    const std::string option = upload_ ? "--as" : "--to";
    std::string positional;
    int positionals = 0;
    std::string value;
    bool valueSet = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind('-', 0) != 0) {
            if (++positionals > 1)
                return false;
            positional = arg;
            continue;
        }
        if (valueSet)
            return false;
        if (arg == option && i + 1 < argc && argv[i + 1][0] != '-')
            value = argv[++i];
        else if (arg.rfind(option + "=", 0) == 0)
            value = arg.substr(option.size() + 1);
        else
            return false;
        valueSet = true;
        if (value.empty())
            return false;
    }
    if (positional.empty())
        return false;
    if (upload_) {
        localPath_ = positional;
        remoteName_ = valueSet ? value : positional.substr(positional.rfind('/') + 1);
        struct stat st{};
        if (::stat(localPath_.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(localPath_.c_str(), R_OK) != 0)
            return false;
    } else {
        remoteName_ = positional;
        localPath_ = valueSet ? value : positional;
    }
    return plainName(remoteName_) && readSettings();
}

bool LeanRequest::readSettings()
{
    const std::string host = env("KNIT_CONTROLLER_HOST");
    in_addr a{};
    if (::inet_pton(AF_INET, host.empty() ? PanelDefaults::kControllerHost : host.c_str(), &a) != 1)
        return false;
    peer_.server = ntohl(a.s_addr);
#ifndef KNIT_PANEL_BUILD
    if ((peer_.server >> 24) != 127 && env("KNIT_ALLOW_REMOTE") != "1")
        return false;
#endif
    // Decimal without a leading zero, as the panel reads it; other spellings are left to it.
    const std::string offsetText = env("KNIT_PORT_OFFSET");
    int offset = PanelDefaults::kPortOffset;
    if (!offsetText.empty()) {
        if (!allOf(offsetText, "0123456789") || offsetText.size() > 9 || (offsetText.size() > 1 && offsetText[0] == '0'))
            return false;
        const int v = std::atoi(offsetText.c_str());
        offset = v > PanelDefaults::kMaxPortOffset ? PanelDefaults::kPortOffset : v;
    }
    const auto port = [offset](int base) { return std::uint16_t(base + offset > 65535 ? base : base + offset); };
    peer_.serverPort = port(TftpTransfer::kServerPort);
    peer_.localPort = port(TftpTransfer::kLocalPort);
    const std::string scaleText = env("KNIT_TIMEOUT_SCALE");
    double scale = 1.0;
    if (!scaleText.empty()) {
        if (!allOf(scaleText, "0123456789.") || scaleText.front() == '.' || scaleText.back() == '.')
            return false;
        char *end = nullptr;
        const double v = std::strtod(scaleText.c_str(), &end);
        if (*end != '\0')
            return false;
        scale = v > 0 && v <= 100 ? v : 1.0;
    }
    const double ms = TftpTransfer::kRequestTimeoutMs * scale;
    peer_.periodMs = ms < 1 ? 1 : int(ms + 0.5);
    return true;
}

int LeanRequest::run() const
{
    TftpPort socket;
    socket.bindIpv4(0, peer_.localPort);
    TftpTransfer transfer(socket);
    TftpDiskFile file;
    int result = TftpTransfer::Failed;
    std::string why;
    std::int64_t size = 0;
    const bool opened = upload_ ? file.openForUpload(localPath_, &size, &result, &why)
                                : file.openForDownload(localPath_, &result, &why);
    if (opened && transfer.begin(upload_, localPath_, remoteName_, &file, size, peer_))
        result = transfer.run();
    else if (opened)
        result = transfer.result();
    if (result == TftpTransfer::Complete)
        return 0;
    if (opened)
        why = transfer.reason();
    std::fprintf(stderr, "knitjob %s: %s: %s\n", upload_ ? "send" : "fetch", remoteName_.c_str(), why.c_str());
    // Silence, a refusal or a broken exchange: the controller is what failed.
    return result == TftpTransfer::CannotWrite ? EX_CANTCREAT : EX_UNAVAILABLE;
}
