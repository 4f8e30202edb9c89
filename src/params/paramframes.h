#pragma once

#include "paramframe.h"

#include "constpara.h"
#include "dialog_add_type.h"
#include "dialogmbed.h"
#include "dialogmdensity.h"
#include "dialognoworkdensity.h"
#include "dialogsyspara.h"
#include "dialogwrkpara.h"
#include "speedmouth.h"
#include "triangleboard.h"

// The frames of the system, running and calibration pages: each only a title, a group box
// text and its page, so they share one pair of files.

class mydialogsystem : public PageFrame<dialogsyspara>
{
    Q_OBJECT
public:
    explicit mydialogsystem(MachineData &machine, QWidget *parent = nullptr);
};

class mydialogwrk : public PageFrame<dialogwrkpara>
{
    Q_OBJECT
public:
    explicit mydialogwrk(MachineData &machine, QWidget *parent = nullptr);
};

class constparasetting : public PageFrame<constpara>
{
    Q_OBJECT
public:
    explicit constparasetting(MachineData &machine, QWidget *parent = nullptr);
};

class mydialogmbed : public PageFrame<dialogmbed>
{
    Q_OBJECT
public:
    explicit mydialogmbed(MachineData &machine, QWidget *parent = nullptr);
};

class mydialogmdensity : public PageFrame<dialogmdensity>
{
    Q_OBJECT
public:
    explicit mydialogmdensity(MachineData &machine, QWidget *parent = nullptr);
};

class mydialognoworkdensity : public PageFrame<dialognoworkdensity>
{
    Q_OBJECT
public:
    explicit mydialognoworkdensity(MachineData &machine, QWidget *parent = nullptr);
};

class mydialog_add_type : public PageFrame<dialog_add_type>
{
    Q_OBJECT
public:
    explicit mydialog_add_type(MachineData &machine, QWidget *parent = nullptr);
};

class mytriangleboard : public PageFrame<triangleboard>
{
    Q_OBJECT
public:
    explicit mytriangleboard(MachineData &machine, QWidget *parent = nullptr);
};

class myspeedmouth : public PageFrame<speedmouth>
{
    Q_OBJECT
public:
    explicit myspeedmouth(MachineData &machine, QWidget *parent = nullptr);
};
