// knitjob: makes sample jobs, checks .cnt/.pat files and moves files to and from the controller.
// This front carries out fetch and send itself, in plain C++ on the TFTP exchange, so a process
// that only moves a file loads no Qt library. The office's job-library commands (push, library)
// go whole to knitjob-library, the one helper with Qt Network and libcrypto; every other command
// line, and every fetch or send it does not take at a glance (LeanRequest), goes whole to
// knitjob-full. Both answer with the options, texts and exit statuses knitjob has always had.
#include "helperprogram.h"
#include "leanrequest.h"
#include "officecommand.h"

int main(int argc, char **argv)
{
    if (argc > 1 && OfficeCommand::isOne(argv[1]))
        return HelperProgram::exec("../lib/knitpanel/knitjob-library", argv);
    LeanRequest request;
    if (request.read(argc, argv))
        return request.run();
    return HelperProgram::exec("../lib/knitpanel/knitjob-full", argv);
}
