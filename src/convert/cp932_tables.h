#pragma once
// Raw code page 932 tables, generated from reference data by tools/gen_cp932_tables.py.
// Use the functions of cp932.h rather than these arrays.
#include <cstdint>

namespace propdesk::cp932_tables {

// Per UTF-16 code unit: a single byte (value below 0x100) or lead << 8 | trail.
extern const std::uint16_t kUnitToBytes[0x10000];
// Per byte converted alone.
extern const std::uint16_t kSingleToUnit[0x100];
// Per lead byte (0x81-0x9F then 0xE0-0xFC, 60 rows) and trail byte (0x00-0xFF).
extern const std::uint16_t kPairToUnit[60 * 0x100];
// Bit per code unit: set when the unit's bytes convert back to the same unit.
extern const std::uint8_t kRoundTrips[0x10000 / 8];

}  // namespace propdesk::cp932_tables
