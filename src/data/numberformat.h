#pragma once

#include <QString>

#include <cstddef>

// Number and bit helpers shared by the screens and the program-file codecs.

// A size in kilobytes as the file screens show it: "1024 K", "1.0 M", "2.5 G".
QString sizeText(quint64 kilobytes);
// a / b with two decimals and " m/s"; "0.00 m/s" when b is 0.
QString speedText(double a, double b);
// Decimal digits of value, no leading zeros, NUL-ended, in at most size bytes (6 always fit);
// digits that do not fit are cut. Returns the number of digits written.
int decimalText(unsigned short value, char *buffer, std::size_t size);
// 1 when bit (0-31) of value is set; 0 otherwise and for any other bit number.
int readBit(unsigned int value, int bit);
// byte with bit (0-7) set when on is not 0, cleared when it is; other bit numbers change nothing.
unsigned char writeBit(unsigned char byte, int on, int bit);
// Text of a NUL-ended byte string that never reads more than length bytes: up to the first NUL
// or length, decoded as UTF-8 when valid, else GBK.
QString bytesToString(const unsigned char *bytes, std::size_t length);
