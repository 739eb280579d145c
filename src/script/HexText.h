// Bytes written as hexadecimal text, two upper-case digits a byte, as the
// journal stores registry data and its seals and a package its SHA-256.
#pragma once

#include <cstddef>
#include <string>

std::string HexText(const unsigned char* bytes, size_t size);
