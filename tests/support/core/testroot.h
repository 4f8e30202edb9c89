#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh panel root for one test: a temporary directory set as KNIT_ROOT, with the layout
// the panel expects. The environment is restored when it goes.
class TestRoot
{
public:
    TestRoot();
    ~TestRoot();
    QString path() const;
    QString file(const QString &relative) const; // path() + relative

private:
    QTemporaryDir dir_;
    QByteArray oldRoot_;
    bool hadRoot_;
};
