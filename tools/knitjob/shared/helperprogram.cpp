#include "helperprogram.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <sysexits.h>
#include <unistd.h>

int HelperProgram::exec(const char *path, char **argv)
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program = n > 0 ? std::string(self, std::size_t(n)) : std::string();
    program = program.substr(0, program.rfind('/') + 1) + path;
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "knitjob: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
    return EX_OSFILE;
}
