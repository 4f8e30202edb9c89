// The panel, knitsim and the tools reach the controller, the broker and the office's browsers on
// the machine's own network, never through a proxy. Asking the desktop for one would only start
// the thread Qt's network stack keeps for that look-up, and wait for it, at the first socket.
// This file is linked into each program and test itself (see src/CMakeLists.txt): in the
// library's archive nothing would pull it in, and the setting would silently not be made.
#include <QCoreApplication>
#include <QNetworkProxy>

namespace {

void connectDirectly()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

} // namespace

// Runs as the application object is made, before anything can open a socket.
Q_COREAPP_STARTUP_FUNCTION(connectDirectly)
