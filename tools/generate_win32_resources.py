#!/usr/bin/env python3
"""Writes the Windows window's resource script from the sources both windows share.

Usage:
  tools/generate_win32_resources.py resources OUT_DIR --version X.Y --strings res/strings.inc
      --menu res/main_menu.inc --command-ids src/common/command_ids.h --icons PNG...
    writes OUT_DIR/propdesk.rc (string table, menu, accelerators, icon, version; it includes the
    hand-written dialogs.rc and propdesk.manifest found on the resource compiler's include path) and
    OUT_DIR/propdesk.ico.
  tools/generate_win32_resources.py strings OUT.rc STRINGS.inc
    writes a script with only the string table of STRINGS.inc.

Scripts are UTF-8 with #pragma code_page(65001): windres reading code page 932 mangles texts
whose trail byte is a backslash (表, ソ).
"""
import argparse
import re
import struct
import sys
import zlib
from pathlib import Path

# A C string literal, or a bare word (an identifier or a number).
TOKEN = re.compile(r'"((?:[^"\\]|\\.)*)"|([\w]+)')
C_ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}


def c_string(body):
    def unescape(match):
        if match.group(1) not in C_ESCAPES:
            sys.exit(f"unsupported escape \\{match.group(1)} in {body!r}")
        return C_ESCAPES[match.group(1)]
    return re.sub(r"\\(.)", unescape, body)


def rc_string(text):
    """The text as a resource-script literal: windres reads "" as a quote and C escapes otherwise."""
    text = text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t").replace('"', '""')
    return f'"{text}"'


def rows(path):
    """The brace-enclosed rows of an include file, each as a list of strings and words (None for null)."""
    for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line.startswith("{"):
            continue
        if not line.endswith("},"):
            sys.exit(f"{path}:{number}: a row is one line ending in '}},'")
        row = []
        for text, word in TOKEN.findall(line[1:-2]):
            row.append(c_string(text) if word == "" else None if word == "nullptr" else word)
        yield row


def read_strings(path):
    return [(int(row[0]), row[1]) for row in rows(path)]


def read_command_ids(path):
    return {name: int(value) for name, value in re.findall(r"(ID_\w+)\s*=\s*(\d+)", Path(path).read_text())}


def string_table(strings):
    lines = ["STRINGTABLE", "BEGIN"]
    lines += [f"  {number}, {rc_string(text)}" for number, text in strings]
    return lines + ["END"]


def menu_and_accelerators(menu_rows, command_ids):
    menu = ["IDR_MAINFRAME MENU", "BEGIN"]
    accelerators = ["IDR_MAINFRAME ACCELERATORS", "BEGIN"]
    for row in menu_rows:
        kind = row[0]
        if kind == "Popup":
            if len(menu) > 2:
                menu.append("  END")
            menu += [f"  POPUP {rc_string(row[1])}", "  BEGIN"]
        elif kind == "Separator":
            menu.append("    MENUITEM SEPARATOR")
        else:
            text, name = row[1], row[2]
            keys = row[3] if len(row) > 3 else None  # the defaults of MenuRow
            handler = row[4] if len(row) > 4 else "Window"
            command = command_ids[name]
            menu.append(f"    MENUITEM {rc_string(text if keys is None else text + chr(9) + keys)}, {command}  // {name}")
            # Keys the text view acts on itself are only shown in the menu.
            if keys is not None and handler == "Window":
                accelerators.append(f"  {accelerator(keys)}, {command}, VIRTKEY{modifiers(keys)}  // {name}")
    return menu + ["  END", "END"], accelerators + ["END"]


def accelerator(keys):
    key = keys.split("+")[-1]
    if re.fullmatch(r"[A-Z0-9]", key):
        return f'"{key}"'
    if re.fullmatch(r"F[0-9]{1,2}", key):
        return f"VK_{key}"
    sys.exit(f"no virtual key for the shortcut {keys!r}")


def modifiers(keys):
    names = {"Ctrl": "CONTROL", "Shift": "SHIFT", "Alt": "ALT"}
    return "".join(f", {names[modifier]}" for modifier in keys.split("+")[:-1])


def version_info(version, product):
    numbers = (version.split(".") + ["0"] * 4)[:4]
    binary = ",".join(numbers)
    values = {
        "CompanyName": "Orvandi",
        "FileDescription": product,
        "FileVersion": version,
        "InternalName": "propdesk",
        "OriginalFilename": "propdesk.exe",
        "ProductName": product,
        "ProductVersion": version,
    }
    return [
        "VS_VERSION_INFO VERSIONINFO",
        f"FILEVERSION {binary}",
        f"PRODUCTVERSION {binary}",
        "FILEFLAGSMASK VS_FFI_FILEFLAGSMASK",
        "FILEFLAGS 0",
        "FILEOS VOS_NT_WINDOWS32",
        "FILETYPE VFT_APP",
        "FILESUBTYPE VFT2_UNKNOWN",
        "BEGIN",
        '  BLOCK "StringFileInfo"',
        "  BEGIN",
        '    BLOCK "041104B0"',  # Japanese, UTF-16
        "    BEGIN",
        *[f'      VALUE "{name}", {rc_string(value)}' for name, value in values.items()],
        "    END",
        "  END",
        '  BLOCK "VarFileInfo"',
        "  BEGIN",
        '    VALUE "Translation", 0x0411, 1200',
        "  END",
        "END",
    ]


def png_chunks(data, path):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(left, up, up_left):
    estimate = left + up - up_left
    distances = [abs(estimate - left), abs(estimate - up), abs(estimate - up_left)]
    return (left, up, up_left)[distances.index(min(distances))]


def palette_png_pixels(path):
    """The size, palette and rows of palette indexes of an 8-bit palette PNG, and the opaque entries."""
    data = Path(path).read_bytes()
    chunks = {}
    for kind, body in png_chunks(data, path):
        chunks[kind] = chunks.get(kind, b"") + body
    width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    if (depth, colour_type, interlace) != (8, 3, 0):
        sys.exit(f"{path}: a 16-colour icon is an 8-bit palette PNG, not interlaced")
    palette = [tuple(chunks[b"PLTE"][i:i + 3]) for i in range(0, len(chunks[b"PLTE"]), 3)]
    alpha = list(chunks.get(b"tRNS", b"")) + [255] * len(palette)
    raw = zlib.decompress(chunks[b"IDAT"])
    pixels, previous = [], bytes(width)
    for y in range(height):
        start = y * (width + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + width])
        for x in range(width):
            left = line[x - 1] if x else 0
            up_left = previous[x - 1] if x else 0
            line[x] = (line[x] + (0, left, previous[x], (left + previous[x]) // 2,
                                  paeth(left, previous[x], up_left))[kind]) & 0xFF
        pixels.append(bytes(line))
        previous = line
    return width, height, palette, pixels, [a == 255 for a in alpha[:len(palette)]]


def sixteen_colour_image(path):
    """A 4-bit icon image (header, 16-colour table, colour bits, AND mask) from a palette PNG."""
    width, height, palette, pixels, opaque = palette_png_pixels(path)
    used = sorted({index for line in pixels for index in line if opaque[index]})
    if len(used) > 16:
        sys.exit(f"{path}: {len(used)} colours; a 16-colour icon has at most 16")
    slot = {index: number for number, index in enumerate(used)}
    colours = [palette[index] for index in used] + [(0, 0, 0)] * (16 - len(used))
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 4, 0, 0, 0, 0, 16, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    colour_bits, mask_bits = b"", b""
    colour_stride, mask_stride = (width // 2 + 3) & ~3, (width // 8 + 3) & ~3
    for line in reversed(pixels):  # bottom-up
        nibbles = [slot.get(index, 0) for index in line]
        packed = bytes(nibbles[x] << 4 | nibbles[x + 1] for x in range(0, width, 2))
        colour_bits += packed.ljust(colour_stride, b"\0")
        mask = bytearray(mask_stride)
        for x, index in enumerate(line):
            if not opaque[index]:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_bits += bytes(mask)
    return width, 16, 4, header + table + colour_bits + mask_bits


def icon_file(pngs):
    """An icon file: the small sizes as 16-colour images that every Windows reads, 256 pixels as PNG."""
    images = []
    for path in pngs:
        data = Path(path).read_bytes()
        width = struct.unpack(">I", data[16:20])[0]
        images.append((width, 0, 32, data) if width == 256 else sixteen_colour_image(path))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    bodies = b""
    for width, colour_count, bit_count, body in images:
        size = width % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bit_count, len(body), offset)
        offset += len(body)
        bodies += body
    return directory + bodies


def resources(args):
    out = Path(args.out_dir)
    out.mkdir(parents=True, exist_ok=True)
    strings = read_strings(args.strings)
    menu, accelerators = menu_and_accelerators(list(rows(args.menu)), read_command_ids(args.command_ids))
    title = dict(strings)[10000]
    (out / "propdesk.ico").write_bytes(icon_file(args.icons))
    lines = [
        "// Generated by tools/generate_win32_resources.py from res/; edit the sources, not this file.",
        "#pragma code_page(65001)",
        "#include <windows.h>",
        '#include "win32/resources/resource_ids.h"',
        "",
        'IDR_MAINFRAME ICON "propdesk.ico"',
        'CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST "propdesk.manifest"',
        "",
        *menu,
        "",
        *accelerators,
        "",
        *string_table(strings),
        "",
        *version_info(args.version, title),
        "",
        f"#define PROPDESK_APP_TITLE {rc_string(title)}",
        f"#define PROPDESK_VERSION_TEXT {rc_string('version ' + args.version)}",
        '#include "dialogs.rc"',
    ]
    write_script(out / "propdesk.rc", lines)


def strings_only(args):
    write_script(Path(args.out), ["#pragma code_page(65001)", "", *string_table(read_strings(args.strings))])


def write_script(path, lines):
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(required=True)
    full = commands.add_parser("resources")
    full.add_argument("out_dir")
    full.add_argument("--version", required=True)
    full.add_argument("--strings", required=True)
    full.add_argument("--menu", required=True)
    full.add_argument("--command-ids", required=True)
    full.add_argument("--icons", nargs="+", required=True)
    full.set_defaults(run=resources)
    only = commands.add_parser("strings")
    only.add_argument("out")
    only.add_argument("strings")
    only.set_defaults(run=strings_only)
    args = parser.parse_args()
    args.run(args)


if __name__ == "__main__":
    main()
