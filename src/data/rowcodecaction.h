#pragma once

#include "cntrow.h"

#include <QString>

#include <cstddef>

// Action texts of a system block and the display copy of a row.

// Clears both buffers, then writes the A- and H-position instruction texts (UTF-8) of
// action; 8-byte buffers hold every text.
void actionTexts(char *aText, std::size_t aSize, char *hText, std::size_t hSize, unsigned char action);
void actionTexts(QString *aText, QString *hText, unsigned char action);

// Copies row into out (they may be the same); with one system (systems <= 1) the system II
// fields are overwritten with those of system I. mode and line do not change the result.
void displayRow(const CntRow *row, CntRow *out, unsigned short mode, unsigned short line,
                        int systems);
