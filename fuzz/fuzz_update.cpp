// Fuzzes what the update and calibration read from a stick or the disk: a file offered as the
// panel program (judged against this machine's and against a 32-bit identity), a checksum
// line, the names of an update folder, and a pointer calibration line. None may read outside
// its input; a program judged sound must hold its headers, and a parsed calibration must give
// back the line it is written as.
#include "data/updatepackage.h"
#include "platform/panelprogram.h"
#include "seeds.h"
#include "logic/touchcal/calibrationfit.h"

#include <elf.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    static const PanelProgram::Identity self = PanelProgram::running();
    const PanelProgram::Identity other{ELFCLASS32, ELFDATA2LSB, EM_ARM};
    for (const PanelProgram::Identity &id : {self, other})
        ABORT_IF(PanelProgram::check(bytes, id) == PanelProgram::Sound && bytes.size() < int(sizeof(Elf32_Ehdr)));
    const QByteArray digest = PanelProgram::sha256Line(bytes);
    ABORT_IF(!digest.isEmpty() && digest.size() != 32);
    const UpdatePackage::Scan s = UpdatePackage::scan(bytes.split('/'));
    ABORT_IF(!UpdatePackage::refusal(s) && (s.master != 1 || s.slave != 1 || s.panel != 1));
    CalibrationFit::Coefficients k{};
    if (CalibrationFit::parse(bytes, &k)) {
        CalibrationFit::Coefficients again{};
        ABORT_IF(!CalibrationFit::parse(CalibrationFit::line(k), &again) || again != k);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string elf(sizeof(Elf32_Ehdr) + sizeof(Elf32_Phdr) + sizeof(Elf32_Shdr), '\0');
    Elf32_Ehdr h{};
    std::memcpy(h.e_ident, ELFMAG, SELFMAG);
    h.e_ident[EI_CLASS] = ELFCLASS32;
    h.e_ident[EI_DATA] = ELFDATA2LSB;
    h.e_type = ET_EXEC;
    h.e_machine = EM_ARM;
    h.e_phoff = sizeof h;
    h.e_phnum = 1;
    h.e_phentsize = sizeof(Elf32_Phdr);
    h.e_shoff = sizeof h + sizeof(Elf32_Phdr);
    h.e_shnum = 1;
    h.e_shentsize = sizeof(Elf32_Shdr);
    std::memcpy(&elf[0], &h, sizeof h);
    Elf32_Phdr p{};
    p.p_type = PT_LOAD;
    p.p_filesz = 16;
    std::memcpy(&elf[sizeof h], &p, sizeof p);
    return {elf, elf.substr(0, 40), std::string(64, 'a') + "  knit\n", "master.bin/slv1.bin/knit/knit.sha256",
            "65536 0 0 0 65536 0 65536\n", "1 2 3 4 5 6 0", "-9223372036854775807 0 0 0 1 0 1"};
}
