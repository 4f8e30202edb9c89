#pragma once

#include "data/protocol.h"
#include "logic/controller/filetransfer.h"
#include "logic/controller/updatebracket.h"

#include <QCoreApplication>
#include <QString>

class MachineData;

// Sends a job from the disk to the controller and makes it the current job, as the disk file
// manager's F3 does: the file checks, group 12 around the three uploads, the piece settings
// reset for another job, and the running state fetched back into the controller state.
class JobSender
{
    Q_DECLARE_TR_FUNCTIONS(JobSender)

public:
    static constexpr int kJobGroup = Protocol::JobGroup;
    // Tries of a command that must be answered before the panel gives up.
    static constexpr int kTries = UpdateBracket::kTries;

    struct Result
    {
        // The controller holds the job and the job name names it; also after a later step
        // failed (the message says which).
        bool sent = false;
        QString message; // what to show; empty when nothing is shown
    };

    // The message of a damaged program (.cnt) or pattern file; empty when it can be used.
    static QString damaged(const QString &path);
    // The message that refuses the job (a file missing, a check failed); empty when it can be
    // sent.
    static QString refusal(const QString &name);
    // The refusal of a job without its file of extension ext (".wrk").
    static QString missing(const QString &ext);
    // Puts the job's .wrk, .cnt and .pat through transfer, stopping at the first that fails:
    // that file's failure message, empty when all three went.
    static QString upload(const QString &name, const FileTransfer &transfer);
    // Sends the job, its files through transfer. On success data's controller state is the
    // controller's running state, its job name is name and the message is the success text.
    static Result send(MachineData &data, const QString &name, const FileTransfer &transfer);
    // Sends the .wrk at path through transfer and takes it into data's work block, as the work
    // parameters' browser imports it over the loaded job's: refused while the carriage runs or
    // when the file is not a whole work file, which is read before it is sent, so the
    // controller is never ahead of the panel. The message is empty on success.
    static Result sendWork(MachineData &data, const QString &path, const FileTransfer &transfer);

private:
    // Group 1: one piece, carrier replacement off; false when not all of it was answered.
    static bool resetPieces(MachineData &data);
};
