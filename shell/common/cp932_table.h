// The code page 932 mapping data, generated from glibc's iconv converter by
// generate_cp932_table.py. Only cp932_text.cpp reads it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellora::shell::cp932 {

// Lead bytes 81-9F and E0-FC; trail bytes 40-7E and 80-FC.
inline constexpr size_t kLeadByteCount = 60;
inline constexpr size_t kTrailByteCount = 188;

// Unicode character of each double-byte code, rows by lead byte, columns by trail byte in
// the order above; 0 where the code is unassigned.
extern const uint16_t kDoubleByteTable[kLeadByteCount * kTrailByteCount];

// Characters that encode to a code which decodes to another character (¥ to 5C, 〜 to 8160...).
struct OneWayMapping {
  uint16_t codePoint;
  uint16_t code;  // one byte, or lead byte in the high half and trail byte in the low half
};
extern const OneWayMapping kOneWayMappings[];
extern const size_t kOneWayMappingCount;

}  // namespace vellora::shell::cp932
