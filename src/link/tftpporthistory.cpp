#include "tftpporthistory.h"

#include "platform/applicationparts.h"

TftpPortHistory::TftpPortHistory(QObject *parent)
    : QObject(parent)
{
}

TftpPortHistory *TftpPortHistory::find()
{
    return ApplicationParts::find<TftpPortHistory>();
}
