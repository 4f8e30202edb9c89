#pragma once

#include <QDialog>

#include <functional>

// The pages the main screen's quick functions open, made on demand. A screen registers its
// page's factory when it exists; a quick function whose page has none does nothing. Tests
// register doubles. Pages 1 and 4 report what they changed in the dynamic property "changed"
// (1: the work parameters need saving); the file manager and the system tools menu tell the
// main window through the signals signal_updata(QString) and signal_desktop_updata(QString).
class QuickPages
{
public:
    enum Page { Para, ConstParaSetting, DialogIde, ParaElse, ExtTest, ExtSysPara, PageCount };
    using Factory = std::function<QDialog *(QWidget *parent)>;

    // An empty factory removes the page.
    static void provide(Page page, Factory factory);
    static bool has(Page page);
    // The page, owned by the caller, or nullptr when none is registered.
    static QDialog *make(Page page, QWidget *parent);
};
