#pragma once

#include "stickbrowser.h"

// The stick browser that exports a file or a folder of the panel's disk into the stick folder
// shown, when the operator presses "导     出" (Enter). "F7. 以文件形式导出" (F7) puts a
// folder's files straight into the folder shown instead of into a folder of its own name.
class StickExportDialog : public StickBrowser
{
    Q_OBJECT

public:
    StickExportDialog(const QString &source, const QString &startDir, const QString &filter, QWidget *parent = nullptr);

    // Runs the dialog with the caption as title; true when the export finished.
    static bool saveFileToStick(const QString &source, const QString &caption, const QString &startDir,
                                   const QString &filter, QWidget *parent);

public Q_SLOTS:
    void exportFiles();

private:
    QString source_;
    BeepingCheckBox *asFiles_;
};
