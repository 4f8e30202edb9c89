#pragma once

#include <QString>

class MachineData;

// The small file routines every screen shares: the panel settings' file, whole-file saves,
// directories, and the date-and-time text file. Each save is atomic and followed by a sync.

// Reads up to 8 bytes of $data/para/management.bin over data's panel settings; a short file
// fills only its length, a missing one leaves them as they were. True when the file was read.
bool readPanelSettings(MachineData &data);
// Saves the 8 bytes of the panel settings to that file; false (and no file change) when it cannot.
bool writePanelSettings(const MachineData &data);

// 1 when length bytes of data replaced the file at path whole, else 0 and the old file as it was.
unsigned char saveWholeFile(const QString &path, const void *data, qint64 length);

// Creates the directory (with missing parents). True when it exists afterwards.
bool makeDirectory(const QString &path);
// Removes the file or directory tree. Paths outside the panel root, and the root itself, are
// refused. True when nothing is left at path.
bool deletePath(const QString &path);

// "date time" from the first two whitespace-separated words of the file, "error" when the file
// cannot be read.
QString readDateTimeFile(const QString &path);
// Saves text as the whole file; false when it cannot.
bool createDateTimeFile(const QString &path, const QString &text);
