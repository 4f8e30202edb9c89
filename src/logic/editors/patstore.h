#pragma once

#include "editorlink.h"

#include "data/patpixels.h"
#include "data/protocol.h"

#include <QString>

// The pattern editor's changes without widgets: a byte of a pattern line or a whole line,
// sent first inside the group 14 update when the file is the current job's pattern.
class PatStore
{
public:
    static constexpr int kGroup = Protocol::PatternGroup;

    explicit PatStore(EditorLink link = EditorLink::controller());

    bool load(const QString &path);
    bool save() const;
    const PatPixels &pixels() const { return pixels_; }
    const QString &path() const { return path_; }

    // Byte k of pattern line `line` (from 0); 0 outside.
    unsigned char byte(int line, int k) const;
    // Stores value at byte k of the line; empty when stored, else the message.
    QString enter(int line, int k, unsigned char value, bool live);
    // Every byte of the line becomes value x 17 (both pixels value); bytes sent before a
    // refusal stay stored.
    QString fillLine(int line, unsigned char value, bool live);

private:
    QString openLive() const;
    void put(int line, int k, unsigned char value);

    EditorLink link_;
    PatPixels pixels_;
    QString path_;
};
