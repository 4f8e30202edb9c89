#pragma once

#include <QByteArray>
#include <QString>

// The office's offer of a job version to this machine, retained on knit/<machine>/offer:
// {"job","version","sha256":{"cnt","pat","wrk"},"by","time"}; an empty payload takes it back.
class JobOffer
{
public:
    static constexpr int kMaxPayload = 4096;
    static constexpr int kMaxBy = 64;

    QString job;
    int version = 0;
    QByteArray sha256[3];
    QString by;
    QString time;

    // False (and *offer untouched) for anything but such an offer within its bounds: a job
    // name the panel could not store, a version that is not 1 to a billion, a digest that is not
    // 64 lower-case hex digits. Texts lose control and format characters.
    static bool parse(const QByteArray &payload, JobOffer *offer);
};
