#!/usr/bin/env python3
"""Writes tests/data/cp932_table.bin: every code page 932 sequence of one or two
bytes that glibc's iconv "CP932" decodes, and every character of the Basic
Multilingual Plane it encodes, so the Windows conversion can be checked against
it under Wine. Run on Linux: python3 scripts/cp932-table.py > tests/data/cp932_table.bin

The file is little-endian 16-bit numbers. First what each sequence decodes to,
0xFFFF where it is refused: the 256 single bytes, then for each lead byte
(0x81 to 0x9F, 0xE0 to 0xFC) its 256 trail bytes. Then, to the end, pairs of a
character and its encoding (0x815C for 0x81 0x5C, 0xFFFF refused) for every
character whose encoding is not the one preferred() picks from the decoding."""
import ctypes
import sys

libc = ctypes.CDLL(None)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)] * 2


def converter(to, source):
    cd = libc.iconv_open(to, source)
    if cd == ctypes.c_void_p(-1).value:
        raise SystemExit("iconv has no %s" % source.decode())

    def convert(data):
        libc.iconv(cd, None, None, None, None)
        src = ctypes.create_string_buffer(data, len(data))
        dst = ctypes.create_string_buffer(16)
        src_p, dst_p = ctypes.c_char_p(ctypes.addressof(src)), ctypes.c_char_p(ctypes.addressof(dst))
        src_left, dst_left = ctypes.c_size_t(len(data)), ctypes.c_size_t(16)
        rc = libc.iconv(cd, ctypes.byref(src_p), ctypes.byref(src_left), ctypes.byref(dst_p), ctypes.byref(dst_left))
        if rc == ctypes.c_size_t(-1).value or src_left.value:
            return None
        return dst.raw[: 16 - dst_left.value]

    return convert


LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
REFUSED = 0xFFFF


def preferred(sequences):
    """Of the sequences that decode to one character, the one encoding gives
    it, save where the table says otherwise: the lowest, passing over rows
    0xED and 0xEE, which repeat kanji found under 0xFA to 0xFC."""
    plain = [s for s in sequences if s >> 8 not in (0xED, 0xEE)]
    return min(plain or sequences)


def main():
    decode = converter(b"UTF-8", b"CP932")
    encode = converter(b"CP932", b"UTF-8")

    def decoded(seq):
        text = decode(seq)
        if text is None:
            return REFUSED
        chars = text.decode()
        # A lead byte followed by a byte that stands alone is two characters.
        if len(chars) != 1 or ord(chars) >= REFUSED:
            raise SystemExit("unexpected: %s decodes to %r" % (seq.hex(), chars))
        return ord(chars)

    table = [decoded(bytes([b])) for b in range(0x100)]
    for lead in LEADS:
        table += [decoded(bytes([lead, trail])) for trail in range(0x100)]
    for lead in set(range(0x80, 0x100)) - set(LEADS):
        for trail in range(0x100):
            alone, after = decode(bytes([lead])), decode(bytes([trail]))
            both = None if alone is None or after is None else alone + after
            if decode(bytes([lead, trail])) != both:
                raise SystemExit("%02x is a lead byte after all" % lead)

    by_char = {}
    for b in range(0x100):
        if table[b] != REFUSED:
            by_char.setdefault(table[b], []).append(b)
    for i, lead in enumerate(LEADS):
        for trail in range(0x100):
            cp = table[0x100 + i * 0x100 + trail]
            if cp != REFUSED:
                by_char.setdefault(cp, []).append(lead << 8 | trail)

    out = bytearray()
    for cp in table:
        out += cp.to_bytes(2, "little")
    for cp in range(0x10000):
        if 0xD800 <= cp < 0xE000:
            continue
        seq = encode(chr(cp).encode())
        got = REFUSED if seq is None else int.from_bytes(seq, "big")
        expected = preferred(by_char[cp]) if cp in by_char else REFUSED
        if got != expected:
            out += cp.to_bytes(2, "little") + got.to_bytes(2, "little")
    sys.stdout.buffer.write(out)


main()
