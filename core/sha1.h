#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The SHA-1 digest of some bytes. Only for formats that name it (Anki's note checksums),
// never for anything that must withstand an attacker.
std::array<uint8_t, 20> sha1(std::string_view bytes);
