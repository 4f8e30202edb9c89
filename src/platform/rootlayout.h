#pragma once

#include <QString>

// Whether the panel can keep its files: makes the root's layout (PanelPaths::ensureLayout) and
// checks that its folders were made and can be written, before any window opens.
class RootLayout
{
public:
    // False with the folder named in why; the panel build's root is the system's and passes.
    static bool ensure(QString *why);
};
