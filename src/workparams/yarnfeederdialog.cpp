#include "yarnfeederdialog.h"

#include "logic/workparams/workpage.h"
#include "ui/workparamkeys.h"

YarnFeederDialog::YarnFeederDialog(MachineData &machine, QWidget *parent, const char *name)
    : WorkParaDialog({{QT_TRANSLATE_NOOP("WorkParaDialog", "F1.送纱器设置"), [&machine](QWidget *p) { return gridPage(machine, WorkPage::yarnFeeders(), p); }, WorkParamKeys::kPagedType}}, parent, name)
{
}
