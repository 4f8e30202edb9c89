#pragma once

#include <QByteArray>

#include <memory>

// SHA-256 of data that comes in pieces, for checking a fetched file against the library's list.
// libcrypto's where the build has it: it uses the processor's SHA instructions, some ten times
// as fast as Qt's own on a megabyte, which the fetch of a job otherwise spends most of its time
// on. Qt's where it does not (a build without libssl-dev).
class Sha256Stream
{
public:
    Sha256Stream();
    ~Sha256Stream();
    Sha256Stream(const Sha256Stream &) = delete;
    Sha256Stream &operator=(const Sha256Stream &) = delete;

    void addData(const QByteArray &piece);
    // The digest in lower-case hex, as the list gives it; the stream is done with then.
    QByteArray hexResult();

private:
    struct State;
    std::unique_ptr<State> state_;
};
