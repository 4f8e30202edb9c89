#pragma once

#include <QString>

#include <functional>

// How the logic moves a file to or from the controller: the page gives both directions (the
// transfer window with its progress line), so what is sent and when stays free of widgets.
// Each takes the local path (the remote name is its last component) and is true on success.
struct FileTransfer
{
    std::function<bool(const QString &path)> put;
    std::function<bool(const QString &path)> get;
};
