#pragma once

#include "tftpstaleports.h"

#include <QObject>

// The stale ports of every transfer the panel runs on its fixed TFTP port, one transfer after
// another: the panel's main() makes one as a child of the application and each TftpClient
// finds it there (ApplicationParts). A client without one keeps its own.
class TftpPortHistory : public QObject
{
    Q_OBJECT

public:
    explicit TftpPortHistory(QObject *parent = nullptr);
    // The application's, or nullptr.
    static TftpPortHistory *find();

    TftpStalePorts &ports() { return ports_; }

private:
    TftpStalePorts ports_;
};
