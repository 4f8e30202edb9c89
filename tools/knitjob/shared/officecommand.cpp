#include "officecommand.h"

#include <cstring>

// Constant-initialised, so the registrations that other files make as the program starts can read them.
const OfficeCommand OfficeCommand::push{
    "push", "push URL JOBDIR --user NAME --password-file FILE [--comment TEXT] [--cafile FILE]",
    "Uploads a job folder (NAME.cnt, NAME.pat, NAME.wrk) to knitfleet serve's job library."};

const OfficeCommand OfficeCommand::library{
    "library", "library list | library fetch NAME VERSION DIR CNT PAT WRK | library session",
    "Lists the office's job library, or fetches one version of a job into a folder, for the panel."};

bool OfficeCommand::isOne(const char *arg)
{
    return arg && (std::strcmp(arg, push.name) == 0 || std::strcmp(arg, library.name) == 0);
}
