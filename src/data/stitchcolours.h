#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// The colour the pattern editor gives each stitch value (its digits are drawn in it), as RGB: dark
// yellow, dark grey, dark green, dark blue, dark cyan, dark magenta, dark yellow, dark grey, dark
// blue, dark magenta, green, blue, cyan, magenta, yellow and grey. The office's preview of a
// pattern takes the same, so a job looks alike on both.
namespace StitchColours {

constexpr std::array<quint32, 16> kRgb{0x808000, 0x808080, 0x008000, 0x000080, 0x008080, 0x800080, 0x808000, 0x808080,
                                       0x000080, 0x800080, 0x00ff00, 0x0000ff, 0x00ffff, 0xff00ff, 0xffff00, 0xa0a0a4};

constexpr quint32 rgb(int value)
{
    return kRgb[std::size_t(value & 0x0f)];
}

} // namespace StitchColours
