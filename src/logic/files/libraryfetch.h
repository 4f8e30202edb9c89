#pragma once

#include "data/librarylisting.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QProcess>
#include <QString>

#include <memory>

// The office's job library from the panel: asks knitjob's "library session" (the helper that
// speaks HTTP(S) and reads library.ini's token itself) for the list and the fetches, so the
// panel loads no network library. One helper serves this object's requests, started on the
// first and ended with it or with a request cut off. Each request is waited for in an event
// loop, so the screen keeps painting and its cancel key works; every failure comes back as
// one operator text.
class LibraryFetch : public QObject
{
    Q_OBJECT

public:
    explicit LibraryFetch(QObject *parent = nullptr);
    ~LibraryFetch() override;

    // Why F5 cannot reach the library (no library.ini: what to write where; a bad one: why),
    // or empty when it can.
    static QString unavailable();
    // The newest released version of each job; false with the operator's text.
    bool list(QList<LibraryListing::Job> *jobs, QString *message);
    // The job's three files into folder(), checked against the list's digests; false with
    // the operator's text (and folder() not there).
    bool fetch(const LibraryListing::Job &job, QString *message);
    // Stops a list or fetch that runs; it then fails with the cancelled text.
    void cancel();
    bool running() const { return waiting_ != nullptr; }

    // The hidden folder of the data root a fetched job waits in until it is imported.
    static QString folder();
    // Removes it and what a cut-off fetch left.
    static void clear();
    // The helper's path: knitjob beside the panel's program.
    static QString helper();

Q_SIGNALS:
    void progress(int percent);

private:
    // The helper's status for the request, what it printed before "done" in *out; -1 when it
    // did not start or died.
    int run(const QStringList &request, QByteArray *out);
    void startSession();
    QString failure(int status) const;

    std::unique_ptr<QProcess> session_;
    QEventLoop *waiting_ = nullptr; // while a request runs
    QByteArray answer_;
    int answered_ = 0; // the "done" line's status
    bool cancelled_ = false;
    bool overflow_ = false;
};
