#pragma once

#include <cstddef>

// One 128-byte program row of a .cnt file, every field at its file offset. Bytes the panel
// does not interpret are kept as reserved arrays so a row survives a copy unchanged. 16-bit
// fields sit at odd offsets and are byte pairs (low byte first), read with get16/set16.
struct CntSystemBlock
{
    unsigned char pat_line[2];     // 0: pattern row knitted by this block
    unsigned char action;          // 2: action code, see actionTexts
    unsigned char select_a[2];     // 3: A-position selectors, bit i = selector i
    unsigned char reserved5[2];
    unsigned char select_h[2];     // 7: H-position selectors
    unsigned char reserved9;
};

struct CntCarrierSelect
{
    unsigned char mouth_flag;      // bit 7: carriers active; bit 0: show no carrier
    unsigned char mouth_mask;      // bit i: carrier i + 1
    unsigned char reserved;
};

struct CntRow
{
    // block[0], block[1]: system I blocks 1 and 2; block[2], block[3]: system II.
    CntSystemBlock block[4];       // 0
    unsigned char reserved40[40];
    CntCarrierSelect mouth[2];             // 80 system I, 83 system II
    unsigned char reserved86[6];
    unsigned char density_group;   // 92
    unsigned char speed_group;     // 93
    unsigned char rora_main;       // 94
    unsigned char rora_aux;        // 95: bit 7 on, bits 0-6 group
    unsigned char rora_open;       // 96: bit 7 on, bits 0-6 group
    unsigned char reserved97[3];
    unsigned char bed_flag;        // 100: bit 7 racking, bit 6 L, bits 0-2 modifier
    unsigned char bed_count;       // 101: bits 0-2 distance
    unsigned char reserved102[5];
    unsigned char mouth_park;      // 107
    unsigned char reserved108;
    unsigned char pic_line[2][2];  // 109 system I, 111 system II
    unsigned char reserved113[3];
    unsigned char end_flag;        // 116: 1 = last row to knit
    unsigned char back_line[2];    // 117: loop return row minus one
    unsigned char loop_count;      // 119
    unsigned char reserved120[8];

    static unsigned short get16(const unsigned char (&f)[2])
    {
        return static_cast<unsigned short>(f[0] | (f[1] << 8));
    }
    static void set16(unsigned char (&f)[2], unsigned short v)
    {
        f[0] = static_cast<unsigned char>(v & 0xff);
        f[1] = static_cast<unsigned char>(v >> 8);
    }
};

constexpr std::size_t kCntRecordSize = 128;
constexpr long long kCntMaxFileSize = 1024 * 1024;

static_assert(sizeof(CntSystemBlock) == 10, "system block is 10 bytes");
static_assert(sizeof(CntRow) == kCntRecordSize, "a program row is 128 bytes");
static_assert(offsetof(CntRow, mouth) == 80, "carrier fields at 80");
static_assert(offsetof(CntRow, density_group) == 92, "density group at 92");
static_assert(offsetof(CntRow, bed_flag) == 100, "racking at 100");
static_assert(offsetof(CntRow, mouth_park) == 107, "carrier parking at 107");
static_assert(offsetof(CntRow, pic_line) == 109, "picture lines at 109");
static_assert(offsetof(CntRow, end_flag) == 116, "end flag at 116");
static_assert(offsetof(CntRow, back_line) == 117, "return row at 117");
static_assert(offsetof(CntRow, loop_count) == 119, "loop count at 119");
