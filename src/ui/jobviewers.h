#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QWidget;

// The editors and browsers the file pages open on a job's file: the program editor, the
// pattern editor and the work-parameter browser. main() makes one as a child of the application
// and fills it with the opener of each screen that exists; the file manager and every stick
// browser find it there (ApplicationParts). A key whose opener is missing does nothing.
class JobViewers : public QObject
{
    Q_OBJECT

public:
    enum Kind { Program, Pattern, WorkParameters, KindCount };
    // mode: who opens it (the work-parameter browser's 1 for the disk file manager, 0 for a
    // stick file); the editors ignore it.
    using Opener = std::function<void(const QString &path, int mode, QWidget *parent)>;

    explicit JobViewers(QObject *parent = nullptr);
    // The application's, or nullptr.
    static const JobViewers *find();

    void provide(Kind kind, Opener opener);
    bool has(Kind kind) const;
    // False when no opener is registered.
    bool open(Kind kind, const QString &path, int mode, QWidget *parent) const;

private:
    std::array<Opener, KindCount> openers_;
};
