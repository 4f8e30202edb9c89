#pragma once

#include "editorlink.h"

#include "data/cntrow.h"
#include "data/protocol.h"

#include <QByteArray>
#include <QString>

// The program editor's logic without widgets: the loaded program, the current row, which
// bytes each field of the page stands for on an even or odd row, how a typed value is
// checked and stored (sent first when the file is the current job's program), the carrier
// toggles, the exchange of the two systems and the save.
class CntStore
{
public:
    static constexpr int kGroup = Protocol::ProgramGroup;
    static constexpr int kGroups = 9;
    static constexpr int kIndices = 4;

    enum Kind { None, PatLine, Select, Action, Carriers, Density, Type, BackTo, Loop, Bed, OpeningRoller, MainRoller,
                AuxiliaryRoller, Speed, Park };
    // What a field of the page shows and stores on the current row.
    struct Field
    {
        Kind kind = None;
        int offset = -1; // first byte in the row; for Action the block's action byte
        bool sent = true;
        bool hText = false; // Action: the H-position text, else the A-position one
        int side = 0;       // 0 left frame, 1 right frame
    };
    enum Load { Loaded, OpenFailed, EmptyFile };
    struct Place
    {
        int group;
        int index;
    };

    // The field an arrow key moves to: Left and Right within the group, Up and Down between
    // groups with the index carried over to the frames' layout.
    static Place moved(int group, int index, int key);

    explicit CntStore(EditorLink link = EditorLink::controller());

    // Reads the whole file (at most 1 MiB); live: changes go to the controller too.
    Load load(const QString &path, bool live);
    // The same on the file's bytes; path is where save() writes.
    Load loadData(const QString &path, const QByteArray &data, bool live);
    // Records 0 ... N and a fresh checksum, atomically; false leaves the file as it was.
    bool save(QString *error = nullptr) const;

    int rows() const { return rows_; }
    // The rows a program file of size bytes holds: its records less record 0, none when empty.
    static int rowsOf(qint64 size);
    int row() const { return row_; }
    // Clamped to 1 ... N.
    void setRow(int r);
    // "跳  行": empty when the row was shown or nothing changes, else the message.
    QString jump(const QString &text);
    bool live() const { return live_; }
    bool changed() const { return changed_; }
    const QByteArray &buffer() const { return buffer_; }
    CntRow current() const;

    Field field(int group, int index) const;
    // The field's stored value as the page shows it (for carriers, the carrier numbers).
    QString text(int group, int index) const;
    // Bit c of the carrier byte of the frame on side 0 (left) or 1 (right).
    bool carrier(int side, int c) const;
    static int maxLength(int group, int index);
    // The help line of the field.
    QString help(int group, int index) const;

    // Keypad Enter confirmed on a field: the bracket when live, the store, the close.
    // Empty when stored, else the message to show.
    QString enter(int group, int index, const QString &text);
    // Flips carrier c (0-7) of the left (side 0) or right (side 1) group.
    QString toggleCarrier(int side, int c);
    // "+/-系统交换": the two systems of the current row change places.
    QString exchange();
    // The racking text after a key: A cycles the side, B the modifier, 0-7 set the distance;
    // other keys leave it.
    static QString rackingKey(const QString &text, int key);

private:
    static constexpr int kSystemII = 20; // system II's blocks follow system I's in a row

    // A message or help line in the operator's language.
    static QString shown(const char *text);
    bool openBracket();
    QString closeBracket(const QString &message);
    QString store(const Field &f, const QString &text);
    QString storeU16(int offset, unsigned short value, bool sent);
    bool put(int offset, unsigned char value, bool sent = true);
    unsigned char byte(int offset) const;
    int rowBase() const { return row_ * int(kCntRecordSize); }

    EditorLink link_;
    QString path_;
    QByteArray buffer_;
    int rows_ = 0;
    int row_ = 1;
    bool live_ = false;
    bool changed_ = false;
};
