#pragma once

#include "serviceframe.h"

#include "attribute.h"
#include "dialogbackup.h"
#include "timedate.h"
#include "updata.h"

// The frames of the system tools pages: each only its message line and its page, so they
// share one pair of files.

class mydialogbackup : public ServiceFrame<dialogbackup>
{
    Q_OBJECT
public:
    explicit mydialogbackup(MachineData &machine, QWidget *parent = nullptr);
};

class myupdata : public ServiceFrame<updata>
{
    Q_OBJECT
public:
    explicit myupdata(MachineData &machine, QWidget *parent = nullptr);
};

class mytimedate : public ServiceFrame<timedate>
{
    Q_OBJECT
public:
    explicit mytimedate(QWidget *parent = nullptr);
};

class myattribute : public ServiceFrame<attribute>
{
    Q_OBJECT
public:
    explicit myattribute(MachineData &machine, QWidget *parent = nullptr);

Q_SIGNALS:
    void desktopPictureChanged(const QString &path);
};
