#!/usr/bin/env python3
"""Writes the small workbook fixtures of the platform tests.

    python3 make_workbook_fixtures.py [output folder]

sample.xls      BIFF8 workbook, sheets "Artikelen" (header row, texts, numbers,
                dates, a Boolean, formula results), "Prijzen" (numbers from B2),
                "Leeg" (no cells) and "Formules" (date and Boolean formula
                results above 300 numbers)
protected.xls   the same workbook marked as encrypted (FILEPASS record)
protected.xlsx  what Excel writes for a password-protected .xlsx: a compound
                file holding EncryptionInfo and EncryptedPackage streams

The compound-file and BIFF8 records are written by hand, so that nothing
beyond Python is needed.
"""

import os
import struct
import sys

ENDOFCHAIN = 0xFFFFFFFE
FREESECT = 0xFFFFFFFF
FATSECT = 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF
SECTOR = 512
MINI = 64
CUTOFF = 4096


def compound_file(streams):
    """A version 3 compound file with the given (name, bytes) streams."""
    small = [(n, d) for n, d in streams if len(d) < CUTOFF]
    large = [(n, d) for n, d in streams if len(d) >= CUTOFF]

    # Mini stream: small streams packed in 64-byte mini sectors.
    mini_stream = b""
    mini_fat = []
    mini_start = {}
    for name, data in small:
        count = max(1, (len(data) + MINI - 1) // MINI)
        first = len(mini_fat)
        mini_start[name] = first
        for i in range(count):
            mini_fat.append(first + i + 1 if i + 1 < count else ENDOFCHAIN)
        mini_stream += data.ljust(count * MINI, b"\0")

    def sectors(n):
        return (n + SECTOR - 1) // SECTOR

    entries = 1 + len(streams)
    dir_sectors = sectors(entries * 128)
    minifat_sectors = sectors(len(mini_fat) * 4) if mini_fat else 0
    ministream_sectors = sectors(len(mini_stream))
    large_sectors = [sectors(len(d)) for _, d in large]
    content = dir_sectors + minifat_sectors + ministream_sectors + sum(large_sectors)
    fat_sectors = 1
    while fat_sectors * (SECTOR // 4) < fat_sectors + content:
        fat_sectors += 1
    assert fat_sectors <= 109

    fat = [FATSECT] * fat_sectors
    next_free = fat_sectors

    def chain(count):
        nonlocal next_free
        if count == 0:
            return ENDOFCHAIN
        first = next_free
        for i in range(count):
            fat.append(next_free + 1 if i + 1 < count else ENDOFCHAIN)
            next_free += 1
        return first

    dir_first = chain(dir_sectors)
    minifat_first = chain(minifat_sectors)
    ministream_first = chain(ministream_sectors)
    large_first = {}
    for (name, _), count in zip(large, large_sectors):
        large_first[name] = chain(count)
    total = fat_sectors * SECTOR // 4
    fat += [FREESECT] * (total - len(fat))

    def entry(name, kind, start, size, child=NOSTREAM, right=NOSTREAM):
        raw = name.encode("utf-16-le") + b"\0\0"
        e = raw.ljust(64, b"\0")
        e += struct.pack("<HBB", len(raw), kind, 1)
        e += struct.pack("<III", NOSTREAM, right, child)
        e += b"\0" * 16 + b"\0" * 4 + b"\0" * 16
        e += struct.pack("<IQ", start, size)
        return e

    ordered = sorted(streams, key=lambda s: (len(s[0]), s[0].upper()))
    directory = entry("Root Entry", 5, ministream_first if mini_stream else ENDOFCHAIN, len(mini_stream),
                      child=1 if ordered else NOSTREAM)
    for i, (name, data) in enumerate(ordered):
        start = mini_start[name] if len(data) < CUTOFF else large_first[name]
        right = i + 2 if i + 1 < len(ordered) else NOSTREAM
        directory += entry(name, 2, start, len(data), right=right)
    empty = b"\0" * 64 + struct.pack("<HBB", 0, 0, 0) + struct.pack("<III", NOSTREAM, NOSTREAM, NOSTREAM)
    empty = empty.ljust(128, b"\0")
    while len(directory) < dir_sectors * SECTOR:
        directory += empty

    header = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16
    header += struct.pack("<HHHHH", 0x003E, 0x0003, 0xFFFE, 9, 6) + b"\0" * 6
    header += struct.pack("<IIIIIIIII", 0, fat_sectors, dir_first, 0, CUTOFF,
                          minifat_first if mini_fat else ENDOFCHAIN, minifat_sectors, ENDOFCHAIN, 0)
    difat = list(range(fat_sectors)) + [FREESECT] * (109 - fat_sectors)
    header += struct.pack("<109I", *difat)
    assert len(header) == SECTOR

    body = struct.pack("<%dI" % len(fat), *fat)
    body += directory
    if mini_fat:
        body += struct.pack("<%dI" % len(mini_fat), *mini_fat).ljust(minifat_sectors * SECTOR, b"\xFF")
    body += mini_stream.ljust(ministream_sectors * SECTOR, b"\0")
    for (_, data), count in zip(large, large_sectors):
        body += data.ljust(count * SECTOR, b"\0")
    return header + body


def rec(kind, data=b""):
    return struct.pack("<HH", kind, len(data)) + data


def bof(kind):
    return rec(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0x000080C9, 0x00000206))


def short_string(text):
    raw = text.encode("utf-16-le")
    return struct.pack("<BB", len(text), 1) + raw


def long_string(text):
    raw = text.encode("utf-16-le")
    return struct.pack("<HB", len(text), 1) + raw


def xf(font, fmt, style):
    flags = 0xFFF4 if style else 0x0000
    return rec(0x00E0, struct.pack("<HHH", font, fmt, flags) + b"\x20\x00" + b"\0" * 12)


GENERAL, DATE, DATETIME, CUSTOM_DATE = 15, 16, 17, 18


def workbook(sheets, protected=False):
    """sheets: list of (name, cells); a cell is (row, col, kind, value, xf)."""
    strings = []
    for _, cells in sheets:
        for cell in cells:
            if cell[2] == "s" and cell[3] not in strings:
                strings.append(cell[3])

    globals_ = bof(0x0005)
    if protected:
        # XOR obfuscation with a key and verifier, as Excel 95 style protection.
        globals_ += rec(0x002F, struct.pack("<HHH", 0x0000, 0x1234, 0x5678))
    globals_ += rec(0x0042, struct.pack("<H", 1200))
    globals_ += rec(0x0022, struct.pack("<H", 0))
    font = rec(0x0031, struct.pack("<HHHHHBBBB", 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + short_string("Arial"))
    globals_ += font * 5
    globals_ += rec(0x041E, struct.pack("<H", 164) + long_string("dd-mm-yyyy"))
    for _ in range(15):
        globals_ += xf(0, 0, True)
    globals_ += xf(0, 0, False) + xf(0, 14, False) + xf(0, 22, False) + xf(0, 164, False)
    boundsheet_at = []
    for name, _ in sheets:
        boundsheet_at.append(len(globals_) + 4)
        globals_ += rec(0x0085, struct.pack("<IBB", 0, 0, 0) + short_string(name))
    sst = struct.pack("<II", len(strings), len(strings))
    for text in strings:
        sst += long_string(text)
    globals_ += rec(0x00FC, sst)
    globals_ += rec(0x000A)

    streams = []
    for name, cells in sheets:
        body = bof(0x0010)
        if cells:
            rows = [c[0] for c in cells]
            cols = [c[1] for c in cells]
            body += rec(0x0200, struct.pack("<IIHHH", min(rows), max(rows) + 1, min(cols), max(cols) + 1, 0))
        else:
            body += rec(0x0200, struct.pack("<IIHHH", 0, 0, 0, 0, 0))
        for row, col, kind, value, style in cells:
            head = struct.pack("<HHH", row, col, style)
            if kind == "s":
                body += rec(0x00FD, head + struct.pack("<I", strings.index(value)))
            elif kind == "n":
                body += rec(0x0203, head + struct.pack("<d", value))
            elif kind == "b":
                body += rec(0x0205, head + struct.pack("<BB", 1 if value else 0, 0))
            elif kind == "fn":  # formula with a number result: =value
                body += rec(0x0006, head + struct.pack("<d", value) + struct.pack("<HIH", 0, 0, 9)
                            + b"\x1F" + struct.pack("<d", value))
            elif kind == "fb":  # formula with a Boolean result: =TRUE() or =FALSE()
                body += rec(0x0006, head + struct.pack("<BBBBBBH", 1, 0, 1 if value else 0, 0, 0, 0, 0xFFFF)
                            + struct.pack("<HIH", 0, 0, 2) + b"\x1D" + struct.pack("<B", 1 if value else 0))
            elif kind == "fs":  # formula with a text result: ="value"
                formula = b"\x17" + struct.pack("<BB", len(value), 0) + value.encode("latin-1")
                body += rec(0x0006, head + b"\0\0\0\0\0\0\xFF\xFF" + struct.pack("<HIH", 0, 0, len(formula))
                            + formula)
                body += rec(0x0207, long_string(value))
        body += rec(0x000A)
        streams.append(body)

    data = bytearray(globals_)
    offset = len(globals_)
    for at, body in zip(boundsheet_at, streams):
        struct.pack_into("<I", data, at, offset)
        offset += len(body)
    for body in streams:
        data += body
    return compound_file([("Workbook", bytes(data))])


def sample_sheets():
    artikelen = [
        (0, 0, "s", "Kleur", GENERAL), (0, 1, "s", "Artikel", GENERAL), (0, 2, "s", "Divisie", GENERAL),
        (0, 3, "s", "Prijs", GENERAL), (0, 4, "s", "Leverdatum", GENERAL), (0, 5, "s", "Actief", GENERAL),
        (0, 6, "s", "Formule", GENERAL),
        (1, 0, "s", "Wit", GENERAL), (1, 1, "s", "K100", GENERAL), (1, 2, "s", "Ramen", GENERAL),
        (1, 3, "n", 12.5, GENERAL), (1, 4, "n", 43831.0, DATE), (1, 5, "b", True, GENERAL),
        (1, 6, "fn", 42.0, GENERAL),
        (2, 0, "s", "Zwart", GENERAL), (2, 1, "s", "K200", GENERAL), (2, 2, "s", "Deuren", GENERAL),
        (2, 3, "n", 7.0, GENERAL), (2, 4, "n", 43832.75, DATETIME), (2, 5, "b", False, GENERAL),
        (2, 6, "fs", "tekst", GENERAL),
        (3, 0, "s", "Grijs", GENERAL), (3, 1, "s", "K300", GENERAL), (3, 2, "s", "Ramen", GENERAL),
        (3, 4, "n", 44197.0, CUSTOM_DATE),
    ]
    prijzen = [(r, c, "n", float(r * 10 + c), GENERAL) for r in range(1, 4) for c in range(1, 3)]
    # Enough rows for a workbook stream beyond the 4096 bytes of the mini stream.
    formules = [(0, 0, "fn", 43831.5, DATETIME), (0, 1, "fb", True, GENERAL)]
    formules += [(r, 0, "n", float(r), GENERAL) for r in range(1, 301)]
    return [("Artikelen", artikelen), ("Prijzen", prijzen), ("Leeg", []), ("Formules", formules)]


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, "sample.xls"), "wb") as f:
        f.write(workbook(sample_sheets()))
    with open(os.path.join(folder, "protected.xls"), "wb") as f:
        f.write(workbook(sample_sheets(), protected=True))
    info = struct.pack("<HHI", 4, 4, 0x40) + b"\0" * 64
    package = struct.pack("<Q", 1000) + bytes(range(256)) * 4
    with open(os.path.join(folder, "protected.xlsx"), "wb") as f:
        f.write(compound_file([("EncryptionInfo", info), ("EncryptedPackage", package)]))


if __name__ == "__main__":
    main()
