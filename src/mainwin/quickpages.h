#pragma once

#include <QDialog>

#include <array>
#include <functional>

// The pages the main screen's quick functions open, made on demand. main() fills one with the
// factory of each page that exists and gives it to the main window; a quick function whose
// page has none does nothing. Tests fill their own with doubles. Pages 1 and 4 report what
// they changed in the dynamic property "changed" (1: the work parameters need saving); the
// file manager and the system tools menu tell the main window through the signals
// signal_updata(QString) and signal_desktop_updata(QString).
class QuickPages
{
public:
    enum Page { Para, ConstParaSetting, DialogIde, ParaElse, ExtTest, ExtSysPara, PageCount };
    using Factory = std::function<QDialog *(QWidget *parent)>;

    // An empty factory removes the page.
    void provide(Page page, Factory factory);
    bool has(Page page) const;
    // The page, owned by the caller, or nullptr when none is registered.
    QDialog *make(Page page, QWidget *parent) const;

private:
    std::array<Factory, PageCount> factories_;
};
