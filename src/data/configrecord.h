#pragma once

#include "blocksizes.h"
#include "paramblock.h"

#include <QByteArray>
#include <QString>

// The personalisation record: the controller's config.cfg (200 bytes, 100 words) as the
// personalisation page holds it, and the panel's check copy para/checkconfig.cfg.
class ConfigRecord
{
public:
    enum Read { Loaded, Missing, Short };

    static QString checkPath();

    // The first 200 bytes of the file; a shorter file is not a record (it would leave part of
    // the page, and then of the check copy, empty).
    Read read(const QString &path);
    bool parse(const QByteArray &bytes);
    bool loaded() const { return loaded_; }

    unsigned short word(int i) const { return data_.word(std::size_t(i)); }
    void setWord(int i, unsigned short v) { data_.setWord(std::size_t(i), v); }
    // The check copy saved whole and synced; false (and the old file as it was) when not.
    bool saveCheck() const;
    QByteArray bytes() const { return data_.toByteArray(); }

private:
    ParamBlock<kConfigCheckSize> data_;
    bool loaded_ = false;
};
