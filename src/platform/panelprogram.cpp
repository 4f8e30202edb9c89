#include "panelprogram.h"

#include <QFile>

#include <elf.h>

#include <cctype>
#include <cstring>

namespace {

// Offsets and counts come from the file: every range is checked against its size without
// overflow before anything is read.
bool inside(quint64 offset, quint64 length, quint64 size)
{
    return offset <= size && length <= size - offset;
}

template <class Ehdr, class Phdr, class Shdr>
PanelProgram::Result checkElf(const QByteArray &file)
{
    const quint64 size = quint64(file.size());
    if (size < sizeof(Ehdr))
        return PanelProgram::CutOff;
    Ehdr h;
    std::memcpy(&h, file.constData(), sizeof h);
    if (h.e_type != ET_EXEC && h.e_type != ET_DYN)
        return PanelProgram::NotProgram;
    if (h.e_phnum == 0 || h.e_phentsize != sizeof(Phdr) || h.e_shnum == 0 || h.e_shentsize != sizeof(Shdr))
        return PanelProgram::NotProgram;
    if (!inside(h.e_phoff, quint64(h.e_phnum) * sizeof(Phdr), size)
        || !inside(h.e_shoff, quint64(h.e_shnum) * sizeof(Shdr), size))
        return PanelProgram::CutOff;
    for (int i = 0; i < h.e_phnum; ++i) {
        Phdr p;
        std::memcpy(&p, file.constData() + h.e_phoff + quint64(i) * sizeof(Phdr), sizeof p);
        if (p.p_type == PT_LOAD && !inside(p.p_offset, p.p_filesz, size))
            return PanelProgram::CutOff;
    }
    return PanelProgram::Sound;
}

} // namespace

PanelProgram::Result PanelProgram::check(const QByteArray &file, const Identity &self)
{
    if (file.size() < EI_NIDENT || std::memcmp(file.constData(), ELFMAG, SELFMAG) != 0)
        return NotElf;
    const auto *ident = reinterpret_cast<const unsigned char *>(file.constData());
    // The header's fields are read in this machine's order, so the order must be ours first.
    if (self.elfClass == 0 || ident[EI_CLASS] != self.elfClass || ident[EI_DATA] != self.byteOrder)
        return OtherMachine;
    if (file.size() < EI_NIDENT + 4)
        return CutOff;
    unsigned short machine = 0;
    std::memcpy(&machine, file.constData() + EI_NIDENT + 2, sizeof machine);
    if (machine != self.machine)
        return OtherMachine;
    if (self.elfClass == ELFCLASS64)
        return checkElf<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(file);
    return checkElf<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(file);
}

PanelProgram::Identity PanelProgram::running()
{
    Identity id;
    QFile self(QStringLiteral("/proc/self/exe"));
    if (!self.open(QIODevice::ReadOnly))
        return id;
    const QByteArray head = self.read(EI_NIDENT + 4);
    if (head.size() < EI_NIDENT + 4 || std::memcmp(head.constData(), ELFMAG, SELFMAG) != 0)
        return id;
    id.elfClass = quint8(head[EI_CLASS]);
    id.byteOrder = quint8(head[EI_DATA]);
    std::memcpy(&id.machine, head.constData() + EI_NIDENT + 2, sizeof id.machine);
    return id;
}

QByteArray PanelProgram::sha256Line(const QByteArray &text)
{
    const QByteArray hex = text.left(64);
    if (hex.size() != 64 || (text.size() > 64 && text[64] != ' ' && text[64] != '\t' && text[64] != '\n'))
        return {};
    for (char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    }
    return QByteArray::fromHex(hex);
}
