#!/usr/bin/env python3
"""The folders of src/ and which of them include which.

    docs/layers.py            checks the structure; draws docs/images/layers.png
    docs/layers.py --check    only checks (the test suite runs this)

Each folder may include itself and the folders listed for it; anything else, and any circle, is an error
with the offending files named. So is a source file over 600 lines, and a handle closed anywhere but in
the owners of src/base. The picture is drawn from the includes found, not from the table, so it
shows the code as it is; includes implied by others (a -> b -> c makes a -> c) are left out of it.
"""

import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
PICTURE = ROOT / "docs" / "images" / "layers.png"

# Top to bottom. A folder may use those below it that are listed here, never one above.
ALLOWED = {
    "app": {"mascot", "panel", "dialogs", "model", "settings", "components", "ui", "base"},
    "mascot": {"panel", "dialogs", "model", "settings", "components", "ui", "base"},
    "panel": {"dialogs", "model", "settings", "components", "ui", "base"},
    "dialogs": {"model", "settings", "components", "ui", "base"},
    "model": {"settings", "base"},
    "components": {"ui", "base"},
    "settings": {"base"},
    "ui": {"base"},
    "base": set(),
}
WHAT = {
    "app": "program entry: puts the model, the application and the forms together",
    "mascot": "TpamuF: the main window, hot keys, tray icon, drops, menu",
    "panel": "TBtnF1: the button panel and its rules",
    "dialogs": "TBtnSetF, TOptSetF, TVerDlgF",
    "model": "Launcher: options, records, settings file, edit modes",
    "components": "tray icon, hot keys, shell links, shell calls, version",
    "settings": "the INI file, its sections and values, the old registry",
    "ui": "the toolkit: windows, forms, controls, hints",
    "base": "colours, exceptions, paths, RAII handles",
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/', re.M)
HEADER = re.compile(r'^\s*#\s*include\s+"([a-z]+/[A-Za-z0-9_]+\.h)"', re.M)
# Headers a folder may not include although it may use their folder: the mascot and the panel know each
# other only through panel/Interfaces.h (and the panel may not include src/mascot at all).
NARROW = {"mascot": {"panel/Btn.h"}}
MAX_LINES = 600
# The functions that free a handle; only the owners in these files call them.
CLOSE = re.compile(r"\b(CloseHandle|RegCloseKey|FreeLibrary|DeleteObject|DestroyIcon|DestroyCursor|ReleaseDC|"
                   r"DeleteDC|DestroyMenu|ImageList_Destroy|CoTaskMemFree|LocalFree|GlobalFree|DragFinish|"
                   r"DestroyAcceleratorTable|UnhookWindowsHookEx|DestroyWindow|RevokeDragDrop)\s*\(")
# ui::Window destroys the windows of the window table; every other window is a UniqueHelperWindow.
OWNERS = {"src/base/Handles.h", "src/base/ComPtr.h", "src/ui/Window.cpp"}


def includes():
    """{folder: {used folder: [files]}} from the #include lines of src/."""
    found = {}
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(SRC).parts[0]
        for used in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if used != folder and (SRC / used).is_dir():
                found.setdefault(folder, {}).setdefault(used, []).append(str(path.relative_to(ROOT)))
    return found


def problems(found):
    out = []
    for folder in sorted(set(found) | {p.name for p in SRC.iterdir() if p.is_dir()}):
        if folder not in ALLOWED:
            out.append(f"src/{folder} has no place in the layers of docs/layers.py")
            continue
        for used, files in sorted(found.get(folder, {}).items()):
            if used not in ALLOWED[folder]:
                out.append(f"src/{folder} may not include src/{used}: {', '.join(files)}")
    for folder, headers in NARROW.items():
        for path in sorted((SRC / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            for header in HEADER.findall(path.read_text(encoding="utf-8")):
                if header in headers:
                    out.append(f"{path.relative_to(ROOT)} may not include {header}: it knows that form through "
                               f"panel/Interfaces.h")
    return out


def file_problems():
    out = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        name = str(path.relative_to(ROOT))
        text = path.read_text(encoding="utf-8")
        lines = text.count("\n")
        if lines > MAX_LINES:
            out.append(f"{name} has {lines} lines; split it by topic (at most {MAX_LINES})")
        if name not in OWNERS:
            for number, line in enumerate(text.splitlines(), 1):
                code = line.split("//", 1)[0]
                if CLOSE.search(code):
                    out.append(f"{name}:{number} frees a handle by hand; use an owner from src/base/Handles.h")
    return out


RC = ROOT / "resources" / "pmrun.rc"
LITERAL = re.compile(r'L"((?:[^"\\]|\\.)*)"')
# Japanese texts the program never shows as they stand: a font's name, a file's name, a date's picture and
# the dated caption's start (each language has its own).
NOT_SHOWN = {"ＭＳ Ｐゴシック", "ぱむぱむランチ.lnk", "MMMMd'日（'ddd'）'", "ぱむぱむランチ\u3000"}


def japanese_table():
    """The texts of the Japanese string table of resources/pmrun.rc."""
    text = RC.read_text(encoding="utf-8")
    start = text.index("LANGUAGE LANG_JAPANESE")
    block = text[start:text.index("END", start)]
    return [m.replace('""', '"') for m in re.findall(r'^\s*\d+\s+"((?:[^"]|"")*)"', block, re.M)]


def text_problems():
    """Every Japanese text of src/ has its place in the string tables, whole or as part of a pattern."""
    table = japanese_table()
    out = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            code = line.split("//", 1)[0] if "//" in line and 'L"' not in line.split("//", 1)[0] else line
            for literal in LITERAL.findall(code):
                if literal in NOT_SHOWN or not re.search(r"[^\x00-\x7f]", literal):
                    continue
                for part in literal.replace("\\n", "\n").split("\n"):
                    if part and re.search(r"[^\x00-\x7f]", part) and not any(part in t for t in table):
                        out.append(f"{path.relative_to(ROOT)}:{number} shows \"{part}\", which the string tables "
                                   f"of resources/pmrun.rc lack")
    return out


def reduced(edges):
    """The edges not implied by a longer way through the others."""
    def reaches(a, b, skip):
        stack, seen = [a], set()
        while stack:
            n = stack.pop()
            for m in edges.get(n, ()):
                if (n, m) == skip or m in seen:
                    continue
                if m == b:
                    return True
                seen.add(m)
                stack.append(m)
        return False
    return {(a, b) for a in edges for b in edges[a] if not reaches(a, b, (a, b))}


def draw(found):
    edges = {a: set(b) for a, b in found.items()}
    order = list(ALLOWED)
    # Each folder one row below the lowest folder that includes it.
    level = {}
    for name in order:
        users = [level[a] for a in order if a in level and name in edges.get(a, ())]
        level[name] = max(users) + 1 if users else 0
    rows = {}
    for name in order:
        rows.setdefault(level[name], []).append(name)
    box_w, box_h, gap_x, gap_y, margin = 300, 54, 30, 40, 20
    width = margin * 2 + max(len(r) for r in rows.values()) * (box_w + gap_x) - gap_x
    height = margin * 2 + len(rows) * (box_h + gap_y) - gap_y + 24
    where = {}
    for lv, names in rows.items():
        row_w = len(names) * (box_w + gap_x) - gap_x
        x0 = (width - row_w) / 2
        for i, name in enumerate(names):
            where[name] = (x0 + i * (box_w + gap_x), margin + lv * (box_h + gap_y))
    # Drawn with ImageMagick, which the scripts install for the screenshots anyway.
    draw_ops = ["-fill", "white", "-stroke", "#555555", "-strokewidth", "1.5"]
    for a, b in sorted(reduced(edges)):
        (ax, ay), (bx, by) = where[a], where[b]
        x1, y1, x2, y2 = ax + box_w / 2, ay + box_h, bx + box_w / 2, by
        draw_ops += ["-draw", f"line {x1:.0f},{y1:.0f} {x2:.0f},{y2:.0f}"]
        # The arrow's head: a small triangle at the lower end, pointing along the line.
        dx, dy = x2 - x1, y2 - y1
        length = max((dx * dx + dy * dy) ** 0.5, 1)
        ux, uy = dx / length, dy / length
        left = (x2 - 9 * ux + 4 * uy, y2 - 9 * uy - 4 * ux)
        right = (x2 - 9 * ux - 4 * uy, y2 - 9 * uy + 4 * ux)
        draw_ops += ["-fill", "#555555", "-draw",
                     f"polygon {x2:.0f},{y2:.0f} {left[0]:.0f},{left[1]:.0f} {right[0]:.0f},{right[1]:.0f}"]
    for name, (x, y) in where.items():
        draw_ops += ["-fill", "#fff7c2", "-stroke", "#8a6d00", "-draw",
                     f"roundrectangle {x:.0f},{y:.0f} {x + box_w:.0f},{y + box_h:.0f} 6,6",
                     "-stroke", "none", "-fill", "black", "-pointsize", "15", "-draw",
                     f"text {x + 10:.0f},{y + 21:.0f} 'src/{name}'", "-pointsize", "10", "-draw",
                     f"text {x + 10:.0f},{y + 41:.0f} '{WHAT[name]}'"]
    draw_ops += ["-pointsize", "11", "-fill", "#555555", "-draw",
                 f"text {margin},{height - 10:.0f} 'Arrow: the upper folder includes the lower one; arrows implied "
                 "by others are left out. Drawn by docs/layers.py.'"]
    PICTURE.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", "-size", f"{width:.0f}x{height:.0f}", "xc:white", "-font", "DejaVu-Sans",
                    *draw_ops, "-strip", str(PICTURE)], check=True)


def main():
    found = includes()
    bad = problems(found) + file_problems() + text_problems()
    for line in bad:
        print(line, file=sys.stderr)
    if "--check" not in sys.argv[1:]:
        draw(found)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
