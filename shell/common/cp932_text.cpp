#include "common/cp932_text.h"

#include <array>
#include <cstdint>

#include "common/cp932_table.h"

namespace vellora::shell {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char kUnmappableByte = '?';

// Halfwidth katakana: single bytes A1-DF are U+FF61-U+FF9F.
constexpr unsigned char kFirstKatakanaByte = 0xA1;
constexpr unsigned char kLastKatakanaByte = 0xDF;
constexpr char32_t kFirstKatakana = 0xFF61;

size_t LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }
size_t TrailIndex(unsigned char trail) { return trail <= 0x7E ? trail - 0x40 : trail - 0x80 + 63; }

char32_t DecodeDoubleByte(unsigned char lead, unsigned char trail) {
  return cp932::kDoubleByteTable[LeadIndex(lead) * cp932::kTrailByteCount + TrailIndex(trail)];
}

// Code of every basic-plane character (0: none). Where two codes decode to one character,
// the lowest code outside rows ED and EE wins: the IBM extensions in FA-FC are preferred to
// their NEC-selected copies, and JIS symbols to their NEC row 13 copies.
class EncodeTable {
 public:
  EncodeTable() {
    for (int pass = 0; pass < 2; ++pass) {
      for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
        const bool necSelectedRow = lead == 0xED || lead == 0xEE;
        if (necSelectedRow != (pass == 1)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
          if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
          const char32_t character =
              DecodeDoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
          if (character != 0 && codes_[character] == 0) {
            codes_[character] = static_cast<uint16_t>((lead << 8) | trail);
          }
        }
      }
    }
    for (size_t i = 0; i < cp932::kOneWayMappingCount; ++i) {
      codes_[cp932::kOneWayMappings[i].codePoint] = cp932::kOneWayMappings[i].code;
    }
  }

  uint16_t CodeOf(char32_t character) const { return character < codes_.size() ? codes_[character] : 0; }

 private:
  std::array<uint16_t, 0x10000> codes_{};
};

const EncodeTable& Encoder() {
  static const EncodeTable table;
  return table;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads one UTF-8 character at offset, advancing it. Malformed input (a stray continuation
// byte, a truncated or overlong sequence, a surrogate, a value past U+10FFFF) consumes one
// byte and gives no character.
bool NextUtf8(std::string_view text, size_t& offset, char32_t& character) {
  const unsigned char first = static_cast<unsigned char>(text[offset]);
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (first < 0x80) {
    character = first;
    ++offset;
    return true;
  } else if (first >= 0xC2 && first <= 0xDF) {
    length = 2, value = first & 0x1F, minimum = 0x80;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3, value = first & 0x0F, minimum = 0x800;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4, value = first & 0x07, minimum = 0x10000;
  } else {
    ++offset;
    return false;
  }
  if (text.size() - offset < length) {
    ++offset;
    return false;
  }
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[offset + i]);
    if ((next & 0xC0) != 0x80) {
      ++offset;
      return false;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++offset;
    return false;
  }
  offset += length;
  character = value;
  return true;
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsCp932TrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

size_t Cp932CharLength(std::string_view bytes, size_t offset) {
  if (offset + 1 < bytes.size() && IsCp932LeadByte(static_cast<unsigned char>(bytes[offset])) &&
      IsCp932TrailByte(static_cast<unsigned char>(bytes[offset + 1]))) {
    return 2;
  }
  return 1;
}

size_t Cp932PrefixLength(std::string_view bytes, size_t maxBytes) {
  if (bytes.size() <= maxBytes) return bytes.size();
  size_t offset = 0;
  while (offset < maxBytes) {
    const size_t length = Cp932CharLength(bytes, offset);
    if (offset + length > maxBytes) break;
    offset += length;
  }
  return offset;
}

std::string Utf8ToCp932(std::string_view utf8, bool* exact) {
  std::string out;
  out.reserve(utf8.size());
  bool lossless = true;
  size_t offset = 0;
  while (offset < utf8.size()) {
    char32_t c = 0;
    if (!NextUtf8(utf8, offset, c)) {
      out += kUnmappableByte;
      lossless = false;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= kFirstKatakana && c <= kFirstKatakana + (kLastKatakanaByte - kFirstKatakanaByte)) {
      out += static_cast<char>(kFirstKatakanaByte + (c - kFirstKatakana));
    } else if (const uint16_t code = Encoder().CodeOf(c); code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else if (code != 0) {
      out += static_cast<char>(code);
    } else {
      out += kUnmappableByte;
      lossless = false;
    }
  }
  if (exact) *exact = lossless;
  return out;
}

std::string Cp932ToUtf8(std::string_view bytes, bool* exact) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  bool lossless = true;
  size_t offset = 0;
  while (offset < bytes.size()) {
    const unsigned char byte = static_cast<unsigned char>(bytes[offset]);
    char32_t c = kReplacementCharacter;
    if (Cp932CharLength(bytes, offset) == 2) {
      const char32_t mapped = DecodeDoubleByte(byte, static_cast<unsigned char>(bytes[offset + 1]));
      if (mapped != 0) c = mapped;
      offset += 2;
    } else {
      if (byte < 0x80) {
        c = byte;
      } else if (byte >= kFirstKatakanaByte && byte <= kLastKatakanaByte) {
        c = kFirstKatakana + (byte - kFirstKatakanaByte);
      }
      ++offset;
    }
    if (c == kReplacementCharacter) lossless = false;
    AppendUtf8(out, c);
  }
  if (exact) *exact = lossless;
  return out;
}

}  // namespace vellora::shell
