// What a signing command may do to a Windows program: append an
// Authenticode certificate table (after up to 7 zero bytes that align it)
// and rewrite the two header fields that go with it, the checksum and the
// security directory entry. Anything else changes the program, or, for a
// package, moves its payload away from where the stub finds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Why `after` is not `before` with a signature appended ("is not signed",
// "was changed at byte 1234", ...), or empty when it is. `before` may
// carry a signature of its own, which `after` replaces.
std::string AppendedSignatureProblem(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after);
