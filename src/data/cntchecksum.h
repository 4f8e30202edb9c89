#pragma once

// The 8-bit sum that closes .cnt and .pat files.
// Sum of length bytes modulo 256, 0..255; 0 when length <= 0 or data is null.
int cntChecksum(const unsigned char *data, long long length);
