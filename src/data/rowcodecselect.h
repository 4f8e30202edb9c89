#pragma once

#include "carrierremap.h"

#include <QString>

#include <cstddef>

// Needle-selector and yarn-carrier texts of a program row. Buffer forms write at most size
// bytes, NUL included, and return the length written; decoders read at most size bytes.

// Each set bit i of mask, rising, appends "0123456789ABCDEF"[i]; 16 characters at most.
std::size_t selectorText(char *out, std::size_t size, unsigned short mask);
QString selectorText(unsigned short mask);

// '0'-'9' set bits 0-9, 'A'-'F' bits 10-15. NUL or 16 valid characters end with ok true;
// any other character ends with ok false and the bits gathered so far.
unsigned short parseSelectorText(const char *text, std::size_t size, bool *ok);
unsigned short parseSelectorText(const QString &text, bool *ok);

// As selectorText with the table "123456789ABCDEF0": carrier numbers.
std::size_t carrierNumbersText(char *out, std::size_t size, unsigned short mask);
QString carrierNumbersText(unsigned short mask);

// The carriers of one system as shown: "0" when inactive or hidden, else the (remapped) mask.
std::size_t multiCarrierText(char *out, std::size_t size, unsigned char flag, unsigned char mask,
                                      const CarrierRemap &remap);
QString multiCarrierText(unsigned char flag, unsigned char mask, const CarrierRemap &remap);
