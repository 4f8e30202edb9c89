#include "yarnfeederdialog.h"

#include "logic/workparams/workpage.h"
#include "ui/workparamkeys.h"

YarnFeederDialog::YarnFeederDialog(MachineData &machine, QWidget *parent, const char *name)
    : WorkParamsFrame({{QT_TRANSLATE_NOOP("WorkParamsFrame", "F1.送纱器设置"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::yarnFeeders(), p); }, WorkParamKeys::kPagedType}}, parent, name)
{
}
