#pragma once

#include "logic/controller/filetransfer.h"

#include <QString>

class MachineData;

// What the backup page does with the system parameter block, apart from its widgets: a block
// file restored through the controller (read and checked first, sent, kept as the check copy,
// then loaded) and the block saved whole to a file. Each step's outcome is a result code; the
// page turns it into the operator's message.
class SystemBackup
{
public:
    enum Result {
        Done = 0,
        Running = 1,      // the carriage runs: nothing sent or written
        Unreadable = 2,   // the file cannot be read or is not one block: nothing sent
        UploadFailed = 3, // the controller did not take it: the system block unchanged
        CheckCopyFailed = 4, // loaded, but the check copy was not written
        WriteFailed = 5,  // the backup was not written: the old file stays whole
    };

    static Result updateFromFile(MachineData &data, const QString &path, const FileTransfer &transfer);
    static Result download(const MachineData &data, const QString &path);
    // The stick export's temporary file for a typed name: 1-10 digits, as the prompt asks;
    // an empty string for anything else.
    static QString exportPath(const QString &name);

    static QString diskBackup();  // para/quorvanta.sys
    static QString checkCopy();   // para/checksystem.sys
};
