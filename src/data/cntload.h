#pragma once

// Outcome of reading a .cnt file into a program image.
struct CntLoad
{
    bool ok = false;
    long long size = 0;   // bytes read
    int records = 0;      // whole 128-byte records the file held, record 0 included
    int rows = 1;         // the loader's row count (CntProgram::rowCount)
};
