#pragma once

#include <QDialog>

#include <array>
#include <functional>

// The pages one screen opens from another, made on demand: the main screen's quick functions,
// the repair menu at start-up and the pages of the system tools menu. main() has one filled with
// the factory of each page that exists (PanelPages, which also wires what the file manager and
// the desktop settings change to the main window) and gives it to the main window and the tools
// menu; a page that has none does nothing. Tests fill their own with doubles. Pages JobParams and
// YarnFeeder report what they changed in the dynamic property "changed" (1: the work parameters
// need saving).
class QuickPages
{
public:
    enum Page {
        JobParams, FrequentSettings, FileManager, YarnFeeder, ControllerTests, SystemTools,
        // The repair menu: its argument is the mask of the files start-up found different.
        ParamRepair,
        History, SystemBackup, TimeDate, DesktopSettings, SoftwareUpdate, TouchCalibration,
        StickFormat, FlashDiskFormat,
        PageCount
    };
    using Factory = std::function<QDialog *(QWidget *parent)>;
    using ArgumentFactory = std::function<QDialog *(QWidget *parent, int argument)>;

    // An empty factory removes the page.
    void provide(Page page, Factory factory);
    void provide(Page page, ArgumentFactory factory);
    bool has(Page page) const;
    // The page, owned by the caller, or nullptr when none is registered.
    QDialog *make(Page page, QWidget *parent, int argument = 0) const;

private:
    std::array<ArgumentFactory, PageCount> factories_;
};
