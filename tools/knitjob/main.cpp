// knitjob: makes sample jobs, checks .cnt/.pat files and moves files to and from the controller.
// This front carries out fetch and send itself, in plain C++ on the TFTP exchange, so a process
// that only moves a file loads no Qt library. Every other command line, and every fetch or send
// it does not take at a glance (LeanRequest), goes whole to knitjob-full, which answers with the
// options, texts and exit statuses knitjob has always had.
#include "fullprogram.h"
#include "leanrequest.h"

int main(int argc, char **argv)
{
    LeanRequest request;
    if (request.read(argc, argv))
        return request.run();
    return FullProgram::exec(argv);
}
