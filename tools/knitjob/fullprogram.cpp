#include "fullprogram.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <sysexits.h>
#include <unistd.h>

int FullProgram::exec(char **argv)
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, std::size_t(n)) : std::string();
    path = path.substr(0, path.rfind('/') + 1) + "../lib/knitpanel/knitjob-full";
    ::execv(path.c_str(), argv);
    std::fprintf(stderr, "knitjob: cannot run %s: %s\n", path.c_str(), std::strerror(errno));
    return EX_OSFILE;
}
