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

    // A sample job made by knitjob in the data root's job folder; false when knitjob failed.
    bool makeJob(const QString &name, int rows, int width, int height) const;
    // The panel's reference copies of the system and personalisation blocks, taken from the
    // given files (a controller's file.sys and config.cfg), so start-up finds them equal.
    bool writeReferences(const QString &fileSys, const QString &configCfg) const;

private:
    QTemporaryDir dir_;
    QByteArray oldRoot_;
    bool hadRoot_;
};
