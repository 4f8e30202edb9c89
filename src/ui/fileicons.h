#pragma once

#include <QPixmap>

// The small pictures of the file lists: a file, a folder, and the mark of the current job.
class FileIcons
{
public:
    static const QPixmap &file();
    static const QPixmap &folder();
    static const QPixmap &current();
};
