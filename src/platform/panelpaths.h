#pragma once

#include <QString>

// Resolves every path the panel uses under one root (KNIT_ROOT), so a whole panel file
// system can live in a test's temporary directory.
class PanelPaths
{
public:
    // The root prefix: KNIT_ROOT, else "/" on the panel, else ~/.local/share/knitpanel/root.
    static QString root();
    // A panel-absolute path ("/mnt/ide/knit/para") placed under the root.
    static QString resolve(const QString &panelPath);

    static QString dataRoot();   // /mnt/ide/knit
    static QString usbRoot();    // /mnt/usb
    static QString tmpDir();     // /tmp
    static QString buzzerDevice(); // /dev/buzzer
    static QString pointercal(); // /etc/pointercal
    static QString data(const QString &relative); // dataRoot() + relative ("/para/...")
    static QString tmp(const QString &relative);  // tmpDir() + relative ("/file.sys")

    // Creates the root and the directories every run expects (tmp, data root); host build only
    // creates what is missing and never fails the start for it.
    static void ensureLayout();
};
