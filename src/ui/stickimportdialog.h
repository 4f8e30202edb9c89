#pragma once

#include "stickbrowser.h"

// The stick browser that imports one file: the operator picks a file and presses "导     入"
// (Enter); it is copied whole to the destination the caller gave.
class StickImportDialog : public StickBrowser
{
    Q_OBJECT

public:
    StickImportDialog(const QString &destination, const QString &startDir, const QString &filter, QWidget *parent = nullptr);

    // Runs the dialog with the caption as title; true when a file was copied to destination.
    static bool openFileFromStick(const QString &destination, const QString &caption, const QString &startDir,
                                   const QString &filter, QWidget *parent);
    // The same; *chosen becomes the stick file's path (its own bytes) when one was copied.
    static bool openFileFromStick(const QString &destination, const QString &caption, const QString &startDir,
                                   const QString &filter, QWidget *parent, QByteArray *chosen);

public Q_SLOTS:
    void importFiles();

private:
    QString destination_;
    QByteArray chosen_;
};
