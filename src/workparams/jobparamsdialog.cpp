#include "jobparamsdialog.h"

#include "carrierreplacementtab.h"
#include "pieceexpansionpage.h"

#include "logic/workparams/workpage.h"
#include "ui/workparamkeys.h"

JobParamsDialog::JobParamsDialog(MachineData &machine, QWidget *parent, const char *name)
    : WorkParamsFrame({{QT_TRANSLATE_NOOP("WorkParamsFrame", "F1.密度设置"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::density(), p); }, WorkParamKeys::kPagedType},
                      {QT_TRANSLATE_NOOP("WorkParamsFrame", "F2.速度设置"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::speed(), p); }, WorkParamKeys::kPagedType},
                      {QT_TRANSLATE_NOOP("WorkParamsFrame", "F3.罗拉设置"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::rollers(), p); }, WorkParamKeys::kPagedType},
                      {QT_TRANSLATE_NOOP("WorkParamsFrame", "F4.纱嘴停放"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::carrierParking(), p); }, WorkParamKeys::kParkingType},
                      {QT_TRANSLATE_NOOP("WorkParamsFrame", "F5.纱嘴替换"), [&machine](QWidget *p) { return wired(new CarrierReplacementTab(machine, p)); }, 0},
                      {QT_TRANSLATE_NOOP("WorkParamsFrame", "F6.片展开设置"), [&machine](QWidget *p) { return wired(new PieceExpansionPage(machine, p)); }, 0}},
                     parent, name)
{
}
