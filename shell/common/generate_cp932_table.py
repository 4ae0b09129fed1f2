#!/usr/bin/env python3
"""Writes cp932_table.cpp: code page 932 as glibc's iconv converter "CP932" defines it.

Run on Debian (glibc provides the converter):  python3 generate_cp932_table.py > cp932_table.cpp

The table is committed so that Linux and Windows builds convert with the same bytes and
need no converter at run time. It holds:
  - every double-byte code's Unicode character (0 where the code is unassigned), and
  - the characters iconv encodes although no code decodes to them (one-way mappings).
Single bytes are not tabulated: 00-7F are ASCII and A1-DF the halfwidth katakana
U+FF61-U+FF9F; the generator checks both against iconv.

Several characters have two codes (the NEC-selected IBM extensions in rows ED/EE repeat the
IBM extensions in FA-FC, and NEC row 13 repeats a few JIS symbols). The encoder in
cp932_text.cpp picks the lowest code outside rows ED/EE; the generator checks that this
rule gives iconv's choice for every character before writing anything.
"""
import ctypes
import ctypes.util
import struct
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4

ICONV_FAILED = ctypes.c_size_t(-1).value


def open_converter(to_code, from_code):
    handle = libc.iconv_open(to_code, from_code)
    if handle in (None, ICONV_FAILED):
        sys.exit(f"iconv cannot convert from {from_code.decode()} to {to_code.decode()}")
    return handle


def convert(handle, data):
    """Converts data completely, or returns None when iconv rejects any of it."""
    libc.iconv(handle, None, None, None, None)
    in_buffer = ctypes.create_string_buffer(data, len(data))
    out_buffer = ctypes.create_string_buffer(16)
    in_pointer = ctypes.c_char_p(ctypes.addressof(in_buffer))
    out_pointer = ctypes.c_char_p(ctypes.addressof(out_buffer))
    in_left = ctypes.c_size_t(len(data))
    out_left = ctypes.c_size_t(16)
    result = libc.iconv(handle, ctypes.byref(in_pointer), ctypes.byref(in_left),
                        ctypes.byref(out_pointer), ctypes.byref(out_left))
    if result == ICONV_FAILED or in_left.value != 0:
        return None
    flushed = libc.iconv(handle, None, None, ctypes.byref(out_pointer), ctypes.byref(out_left))
    if flushed == ICONV_FAILED:
        return None
    return out_buffer.raw[:16 - out_left.value]


LEAD_BYTES = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAIL_BYTES = list(range(0x40, 0x7F)) + list(range(0x80, 0xFD))


def preference(code):
    """Order in which the encoder offers codes for a character: rows ED/EE last."""
    return (code >> 8 in (0xED, 0xEE), code)


def main():
    decoder = open_converter(b"UTF-32LE", b"CP932")
    encoder = open_converter(b"CP932", b"UTF-32LE")

    def decode(data):
        out = convert(decoder, data)
        if out is None or len(out) != 4:
            return None
        return struct.unpack("<I", out)[0]

    def encode(code_point):
        return convert(encoder, struct.pack("<I", code_point))

    for byte in range(0x80):
        if decode(bytes([byte])) != byte:
            sys.exit(f"byte {byte:02X} is not ASCII in iconv's CP932")
    for byte in range(0xA1, 0xE0):
        if decode(bytes([byte])) != 0xFF61 + byte - 0xA1:
            sys.exit(f"byte {byte:02X} is not halfwidth katakana in iconv's CP932")
    for byte in [0x80, 0xA0, 0xFD, 0xFE, 0xFF]:
        if decode(bytes([byte])) is not None:
            sys.exit(f"byte {byte:02X} decodes in iconv's CP932; the encoder expects it not to")

    table = []
    decoded_by = {}
    for lead in LEAD_BYTES:
        for trail in TRAIL_BYTES:
            code_point = decode(bytes([lead, trail])) or 0
            if code_point > 0xFFFF:
                sys.exit(f"code {lead:02X}{trail:02X} decodes outside the basic plane")
            table.append(code_point)
            if code_point:
                decoded_by.setdefault(code_point, []).append((lead << 8) | trail)

    for code_point, codes in decoded_by.items():
        chosen = min(codes, key=preference)
        expected = encode(code_point)
        if expected != bytes([chosen >> 8, chosen & 0xFF]):
            sys.exit(f"U+{code_point:04X}: iconv encodes {expected!r}, the rule gives {chosen:04X}")

    single_bytes = set(range(0x80)) | set(range(0xFF61, 0xFFA0))
    one_way = []
    for code_point in range(0x110000):
        if 0xD800 <= code_point < 0xE000 or code_point in decoded_by or code_point in single_bytes:
            continue
        encoded = encode(code_point)
        # glibc drops the Unicode tag characters silently; an empty result is no mapping.
        if encoded:
            if code_point > 0xFFFF:
                sys.exit(f"U+{code_point:X} encodes but lies outside the basic plane")
            one_way.append((code_point, int.from_bytes(encoded, "big")))

    write_source(table, one_way)


def write_source(table, one_way):
    out = sys.stdout
    out.write("// Generated by generate_cp932_table.py from glibc's iconv \"CP932\" converter. Do not edit.\n")
    out.write('#include "common/cp932_table.h"\n\n')
    out.write("namespace vellora::shell::cp932 {\n\n")
    out.write("const uint16_t kDoubleByteTable[kLeadByteCount * kTrailByteCount] = {\n")
    for lead_index, lead in enumerate(LEAD_BYTES):
        row = table[lead_index * len(TRAIL_BYTES):(lead_index + 1) * len(TRAIL_BYTES)]
        out.write(f"    // lead byte {lead:02X}\n")
        for start in range(0, len(row), 12):
            out.write("    " + " ".join(f"0x{value:04X}," for value in row[start:start + 12]) + "\n")
    out.write("};\n\n")
    out.write("const OneWayMapping kOneWayMappings[] = {\n")
    for code_point, code in one_way:
        out.write(f"    {{0x{code_point:04X}, 0x{code:02X}}},  // {chr(code_point)}\n")
    out.write("};\n")
    out.write("const size_t kOneWayMappingCount = sizeof(kOneWayMappings) / sizeof(kOneWayMappings[0]);\n\n")
    out.write("}  // namespace vellora::shell::cp932\n")
    sys.stderr.write(f"{sum(1 for v in table if v)} double-byte codes, {len(one_way)} one-way mappings\n")


if __name__ == "__main__":
    main()
