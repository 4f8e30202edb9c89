#pragma once

#include <QByteArray>

// Judges a file offered as the panel's new program: a whole ELF program this panel can run
// (the running program's class, byte order and machine; a program, not an object file; every
// loaded segment and the section-header table inside the file), so a cut-off or foreign file
// never replaces the program the panel starts from.
class PanelProgram
{
public:
    enum Result { Sound = 0, NotElf = 1, OtherMachine = 2, NotProgram = 3, CutOff = 4 };

    // The first bytes of an ELF header that name the machine: class, byte order, machine.
    struct Identity
    {
        unsigned char elfClass = 0;
        unsigned char byteOrder = 0;
        unsigned short machine = 0;
    };

    static Result check(const QByteArray &file, const Identity &self);
    // The identity of the running program (its own file); all zero when it cannot be read.
    static Identity running();

    // The digest a "sha256sum" line gives ("<64 hex digits>  name"), 32 bytes; empty when the
    // text does not start with one.
    static QByteArray sha256Line(const QByteArray &text);
};
