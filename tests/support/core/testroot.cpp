#include "testroot.h"

#include "platform/panelpaths.h"

#include <QFile>

TestRoot::TestRoot()
    : oldRoot_(qgetenv("KNIT_ROOT")), hadRoot_(qEnvironmentVariableIsSet("KNIT_ROOT"))
{
    qputenv("KNIT_ROOT", QFile::encodeName(dir_.path()));
    PanelPaths::ensureLayout();
}

TestRoot::~TestRoot()
{
    if (hadRoot_)
        qputenv("KNIT_ROOT", oldRoot_);
    else
        qunsetenv("KNIT_ROOT");
}

QString TestRoot::path() const
{
    return dir_.path();
}

QString TestRoot::file(const QString &relative) const
{
    return dir_.path() + relative;
}
