#pragma once

#include <QString>

#include <cstddef>

// Racking and roller texts of a program row; buffer forms as in rowcodecselect.h.

// Three characters: side ('L'/'R', blank at distance 0), distance digit, modifier '*', '+',
// '-' or blank; three blanks when the row does not rack. A buffer of 4 bytes holds it.
std::size_t bedText(char *out, std::size_t size, unsigned char flag, unsigned char count);
QString bedText(unsigned char flag, unsigned char count);

// The racking text back to bed_flag (low byte) and bed_count (high byte). Reads at most
// three characters; past a NUL or size the text counts as ended. ok is always true.
unsigned short parseBedText(const char *text, std::size_t size, bool *ok);
unsigned short parseBedText(const QString &text, bool *ok);

// Roller group when bit 7 is set, else "0".
std::size_t rollerText(char *out, std::size_t size, unsigned char value);
QString rollerText(unsigned char value);
