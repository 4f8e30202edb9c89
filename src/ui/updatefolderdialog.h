#pragma once

#include "stickbrowser.h"

// The stick browser of the full update: the operator opens the folder that holds the update
// and presses "升     级" (Enter) on one of its files; the folder's controller images and panel
// program are then installed (FullUpdate) with the panel program going to the target.
class UpdateFolderDialog : public StickBrowser
{
    Q_OBJECT

public:
    UpdateFolderDialog(const QString &target, const QString &startDir, const QString &filter, QWidget *parent = nullptr);

    // Runs the dialog with the caption as title; true when a full update was installed.
    static bool chooseFolderFromStick(const QString &target, const QString &caption, const QString &startDir,
                                 const QString &filter, QWidget *parent);

public Q_SLOTS:
    void chooseFolder();

private:
    void showStatus(const QString &text);

    QString target_;
};
