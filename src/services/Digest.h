// The SHA-256 of some bytes, computed by the system's cryptographic provider
// (the one that every Windows since XP SP3 has), as 64 upper-case hex
// digits. Empty when the system cannot compute it.
#pragma once

#include <string>

std::string Sha256Hex(const std::string& bytes);
