// The SHA-256 of some bytes (FIPS 180-4), as 64 upper-case hex digits.
#pragma once

#include <string>

std::string Sha256Hex(const std::string& bytes);
