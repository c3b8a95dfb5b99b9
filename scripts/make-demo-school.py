#!/usr/bin/env python3
"""Writes the demo school's base-data file demo/DEMO.GD.

The school is invented: names of the school, the teachers and everything else are made
up. Run from anywhere:

    python3 scripts/make-demo-school.py [output-path]

The output is deterministic; running the script again gives the identical file.
Lines end in CR LF, text is Windows-1252.
"""

import re
import sys
from pathlib import Path

# Week layout.
WEEK_ALTERNATION = 0      # 0 = no A/B week
DAYS = 5
AFTERNOON_START = 6       # afternoon begins after period 6
PERIODS_PER_DAY = 10

# Default plan options (last line of the file).
OPTIONS = [20, 4, 1, 20, 2, 2, 1, 100, 6, 4, 5, 1]

# Capacities of the base data.
MAX_CLASSES = 100
MAX_TEACHERS = 100        # without the sentinel
MAX_SUBJECTS = 50         # without the sentinel
MAX_ROOMS = 100

# Teachers: code (2 letters, optional weight mark), surname, relief hours, weekly hours.
TEACHERS = [
    ("HB+", "Hansberg", 6, 25.5),      # headmaster
    ("WZ", "Wenzel", 5, 25.5),         # deputy head
    ("SD", "Schröder", 3, 25.5),       # upper school coordinator
    ("KG", "Krüger", 2, 25.5),         # lower school coordinator
    ("LR", "Lindner", 2, 25.5),        # timetable planner
    ("MR", "Müller", 0, 25.5),
    ("WS", "Weiß", 0, 25.5),
    ("BH", "Böhm", 0, 25.5),
    ("JG", "Jäger", 0, 20),
    ("FR", "Förster", 1, 25.5),
    ("GO", "Groß", 0, 25.5),
    ("LN", "Lößner", 0, 25.5),
    ("HN", "Hübner", 0, 25.5),
    ("KL", "Köhler", 0, 25.5),
    ("BT", "Brandt", 0, 12),
    ("VO", "Vogel", 0, 25.5),
    ("KS+", "Kessler", 0, 25.5),
    ("AL", "Albrecht", 1, 25.5),
    ("OS", "Ostermann", 0, 25.5),
    ("SE", "Seidel", 0, 17.5),
    ("HW", "Hartwig", 0, 25.5),
    ("PO", "Pohl", 0, 25.5),
    ("RT", "Reuter", 0, 25.5),
    ("SO", "Sommer", 0, 14),
    ("WI", "Winter", 0, 25.5),
    ("FU", "Fuchs", 0, 25.5),
    ("HA", "Haas", 0, 25.5),
    ("NO", "Nowak", 0, 25.5),
    ("EN", "Engel", 0, 19),
    ("KN", "Kühn", 0, 25.5),
    ("DL", "Dreßler", 0, 25.5),
    ("BG", "Baumgart", 1, 25.5),
    ("TH", "Thiele", 0, 25.5),
    ("LZ", "Lorenz", 0, 13),
    ("RG", "Rieger", 0, 25.5),
    ("ST", "Stein", 4, 25.5),          # middle school coordinator
    ("MQ", "Marquardt", 0, 25.5),
    ("SF", "Schäfer", 0, 25.5),
    ("WD", "Wendt", 0, 16),
    ("ZL", "Zöllner", 0, 25.5),
    ("GT", "Gärtner", 0, 25.5),
    ("RM", "Roßmann", 0, 25.5),
    ("TI", "Tillmann", 0, 25.5),
    ("NB", "Neubert", 0, 18.5),
    ("FA", "Falk", 0, 25.5),
    ("UR", "Urban", 0, 25.5),
    ("EC", "Eckert", 0, 25.5),
    ("QU-", "Quast", 0, 12),
    ("IH", "Ihle", 0, 25.5),
    ("YI", "Yildiz", 0, 25.5),
    ("PE", "Petersen", 0, 25.5),
    ("CA", "Carstens", 0, 20),
    ("DZ", "Dietz", 0, 25.5),
    ("VS", "Voß", 0, 25.5),
    ("KZ", "Kranz", 0, 15),
    ("GH", "Gehrke", 0, 25.5),
    ("AH", "Ahrens", 1, 25.5),
    ("OM-", "Obermeier", 0, 25.5),
    ("JA", "Janssen", 0, 25.5),
    ("LB", "Lübke", 0, 25.5),
]

# Classes: code, class teacher, statistics designation (None: no designation).
CLASSES = [
    ("5A", "MR", "05A"),
    ("5B", "WS", "05B"),
    ("5C", "BH", "05C"),
    ("5D", "JG", "05D"),
    ("6A", "GO", "06A"),
    ("6B", "LN", "06B"),
    ("6C", "HN", "06C"),
    ("6D", "KL", "06D"),
    ("7A", "VO", "07A"),
    ("7B", "KS", "07B"),
    ("7C", "OS", "07C"),
    ("7D", "SE", "07D"),
    ("8A", "HW", "08A"),
    ("8B", "PO", "08B"),
    ("8C", "RT", "08C"),
    ("8D", "WI", "08D"),
    ("9A", "FU", "09A"),
    ("9B", "HA", "09B"),
    ("9C", "NO", "09C"),
    ("9D", "KN", "09D"),
    ("10A", "DL", "10A"),
    ("10B", "TH", "10B"),
    ("10C", "RG", "10C"),
    ("10D", "MQ", "10D"),
    # Upper school: the years 11 and 12 are split into course groups (pseudo-classes
    # without home rooms), since a coupling may hold each class only once; each band
    # of a year puts its courses into different groups. The statistics designation
    # still names the year.
    ("11A", "SD", "11"),
    ("11B", "EC", "11"),
    ("11C", "YI", "11"),
    ("11D", "FA", "11"),
    ("11E", "ZL", "11"),
    ("11F", "LB", "11"),
    ("12A", "AL", "12"),
    ("12B", "IH", "12"),
    ("12C", "AH", "12"),
    ("12D", "DZ", "12"),
    ("12E", "GT", "12"),
    ("12F", "RM", "12"),
]

# Subjects: code (optional weight mark), name, room field, kind, statistics code.
# Room field: None (ordinary classroom), the number of lessons of the subject that may
# run at the same time (one per subject room, so it equals the count of rooms the
# subject owns in ROOMS), or the code of the subject whose rooms are used.
# Kind: None (single periods), "D" double, "T" triple.
SUBJECTS = [
    ("D", "Deutsch", None, None, None),
    ("E", "Englisch", None, None, None),
    ("F", "Französisch", None, None, None),
    ("L", "Latein", None, None, None),
    ("S", "Spanisch", None, None, None),
    ("N", "Niederländisch", None, None, None),
    ("M", "Mathematik", None, None, None),
    ("PH", "Physik", "2", "D", "PH"),
    ("CH", "Chemie", "2", "D", "CH"),
    ("BI", "Biologie", "2", None, "BI"),
    ("NW", "Naturwissenschaft", "BI", "D", "NW"),
    ("EK", "Erdkunde", None, None, None),
    ("GE", "Geschichte", None, None, None),
    ("PK-", "Politik", None, None, None),
    ("SW", "Sozialwissenschaften", None, None, None),
    ("PA", "Pädagogik", None, None, None),
    ("KR", "KathReligion", None, None, None),
    ("ER", "EvReligion", None, None, None),
    ("PL", "Philosophie", None, None, None),
    ("MU", "Musik", "2", None, "MU"),
    ("KU", "Kunst", "2", "D", "KU"),
    ("DS", "Theaterspiel", "MU", "T", "DS"),
    ("SP", "Sport", "3", "D", "SP"),
    ("IF", "Informatik", "2", "D", "IF"),
    ("LI-", "Literatur", None, None, None),
]

# Rooms: code, owner (class code, subject code, "#" for locked, None for pool rooms).
ROOMS = [
    ("101", "5A"), ("102", "5B"), ("103", "5C"), ("104", "5D"),
    ("105", "6A"), ("106", "6B"), ("107", "6C"), ("108", "6D"),
    ("201", "7A"), ("202", "7B"), ("203", "7C"), ("204", "7D"),
    ("205", "8A"), ("206", "8B"), ("207", "8C"), ("208", "8D"),
    ("301", "9A"), ("302", "9B"), ("303", "9C"), ("304", "9D"),
    ("305", "10A"), ("306", "10B"), ("307", "10C"), ("308", "10D"),
    ("CH1", "CH"), ("CH2", "CH"),
    ("PH1", "PH"), ("PH2", "PH"),
    ("BI1", "BI"), ("BI2", "BI"),
    ("TH1", "SP"), ("TH2", "SP"), ("TH3", "SP"),
    ("MU1", "MU"), ("MU2", "MU"),
    ("KU1", "KU"), ("KU2", "KU"),
    ("IF1", "IF"), ("IF2", "IF"),
    ("A01", None), ("A02", None), ("A03", None), ("A04", None), ("A05", None),
    ("310", "#"),             # under renovation
]


def number(value):
    """A number written plainly: 0, 3, 12, 25.5."""
    text = f"{value:g}"
    if "e" in text:
        raise ValueError(f"number out of range: {value!r}")
    return text


def bare(code):
    """A code without its weight mark."""
    return code.rstrip("+-")


def header_line():
    packed = (256 * (8 * WEEK_ALTERNATION + (6 - DAYS))
              + 16 * AFTERNOON_START + PERIODS_PER_DAY)
    counts = [packed, len(CLASSES), len(TEACHERS) + 1, len(SUBJECTS) + 1, len(ROOMS)]
    return ",".join(str(c) for c in counts)


def class_line(code, teacher, stat):
    fields = [code, teacher]
    if stat:
        fields.append(">" + stat)
    return " ".join(fields)


def teacher_line(code, surname, relief, hours):
    return " ".join([code, surname, number(relief), number(hours)])


def subject_line(code, name, rooms, kind, stat):
    fields = [code, name]
    if rooms is not None:
        fields.append(rooms)
        if kind:
            fields.append(kind)
    if stat:
        fields.append(">" + stat)
    return " ".join(fields)


def room_line(code, owner):
    return code if owner is None else code + " " + owner


def build_lines():
    lines = [header_line()]
    lines += [class_line(*c) for c in CLASSES]
    lines += [teacher_line(*t) for t in TEACHERS]
    lines += [subject_line(*s) for s in SUBJECTS]
    lines += [room_line(*r) for r in ROOMS]
    lines.append(",".join(str(o) for o in OPTIONS))
    return lines


def check(lines):
    """Raises AssertionError if the data would not load back unchanged."""
    problems = []

    def need(condition, message):
        if not condition:
            problems.append(message)

    teacher_codes = [bare(t[0]) for t in TEACHERS]
    subject_codes = [bare(s[0]) for s in SUBJECTS]
    class_codes = [c[0] for c in CLASSES]
    room_codes = [r[0] for r in ROOMS]

    need(len(CLASSES) <= MAX_CLASSES, "too many classes")
    need(len(TEACHERS) <= MAX_TEACHERS, "too many teachers")
    need(len(SUBJECTS) <= MAX_SUBJECTS, "too many subjects")
    need(len(ROOMS) <= MAX_ROOMS, "too many rooms")

    for kind, codes in (("teacher", teacher_codes), ("subject", subject_codes),
                        ("class", class_codes), ("room", room_codes)):
        duplicates = sorted({c for c in codes if codes.count(c) > 1})
        need(not duplicates, f"duplicate {kind} codes: {duplicates}")

    for code, surname, relief, hours in TEACHERS:
        need(re.fullmatch(r"[A-Z]{2}[+-]?", code), f"bad teacher code {code!r}")
        need(re.fullmatch(r"\S+", surname), f"bad surname {surname!r}")
        need(0 <= relief <= hours, f"relief hours of {code} out of range")
        need(0 < hours <= 30, f"weekly hours of {code} out of range")
    need(not set(teacher_codes) & set(subject_codes),
         f"teacher codes equal to subject codes: {set(teacher_codes) & set(subject_codes)}")

    for code, teacher, stat in CLASSES:
        need(re.fullmatch(r"[0-9A-Z]{1,3}", code), f"bad class code {code!r}")
        need(teacher in teacher_codes, f"class {code}: unknown class teacher {teacher}")
        need(stat is None or stat == stat.upper(), f"class {code}: statistics not upper case")
        need(code[:2] not in subject_codes, f"class {code} starts like a subject code")

    numeric_room_subjects = {bare(s[0]) for s in SUBJECTS
                             if s[2] is not None and re.fullmatch(r"\d+(\+\d+)?", s[2])}
    for code, name, rooms, kind, stat in SUBJECTS:
        need(re.fullmatch(r"[A-Z]{1,2}[+-]?", code), f"bad subject code {code!r}")
        need(re.fullmatch(r"[A-ZÄÖÜ]\S*", name), f"bad subject name {name!r}")
        if rooms is not None:
            need(re.fullmatch(r"[1-9]\d*(\+[1-9]\d*)?", rooms)
                 or rooms in numeric_room_subjects,
                 f"subject {code}: bad room field {rooms!r}")
        need(kind in (None, "D", "T"), f"subject {code}: bad kind {kind!r}")
        need(kind is None or rooms is not None, f"subject {code}: kind without room field")
        need(stat is None or rooms is not None, f"subject {code}: statistics without room field")
        need(stat is None or stat == stat.upper(), f"subject {code}: statistics not upper case")

    for code, owner in ROOMS:
        need(re.fullmatch(r"[0-9A-Z]{1,3}", code), f"bad room code {code!r}")
        if owner is None or owner == "#":
            continue
        if owner in class_codes:
            need(owner[:2].ljust(2) not in [c.ljust(2) for c in subject_codes],
                 f"room {code}: owner class {owner} reads as a subject")
        else:
            need(owner in numeric_room_subjects, f"room {code}: unknown owner {owner!r}")
    for code, name, rooms, kind, stat in SUBJECTS:
        owned = sum(1 for _, owner in ROOMS if owner == bare(code))
        if rooms is not None and re.fullmatch(r"\d+", rooms):
            need(int(rooms) == owned,
                 f"subject {code}: room count {rooms}, but {owned} rooms of its own")
        elif rooms is None or rooms in numeric_room_subjects:
            need(owned == 0, f"subject {code}: {owned} rooms of its own but no room count")
    home_rooms = [o for _, o in ROOMS if o in class_codes]
    need(sorted(set(home_rooms)) == sorted(home_rooms), "class with two home rooms")

    for number_, line in enumerate(lines, 1):
        where = f"line {number_} {line!r}"
        if number_ not in (1, len(lines)):
            need("," not in line, f"{where}: comma")
        need(not re.search(r'["\t@\r\n\x1a]', line), f"{where}: forbidden character")
        need(line == line.strip(" ") and "  " not in line, f"{where}: stray blanks")
        need(line != "", f"{where}: empty")
        try:
            line.encode("cp1252")
        except UnicodeEncodeError:
            problems.append(f"{where}: not Windows-1252")

    head = [int(x) for x in lines[0].split(",")]
    need(head[0] == 362, "packed week layout is not 362")
    need(len(lines) == 1 + head[1] + (head[2] - 1) + (head[3] - 1) + head[4] + 1,
         "line count does not match header")

    if problems:
        raise AssertionError("demo school data:\n  " + "\n  ".join(problems))


def main():
    target = (Path(sys.argv[1]) if len(sys.argv) > 1
              else Path(__file__).resolve().parent.parent / "demo" / "DEMO.GD")
    lines = build_lines()
    check(lines)
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    assert data.endswith(b"\r\n") and not data.endswith(b"\x1a")
    target.parent.mkdir(parents=True, exist_ok=True)
    with open(target, "wb") as out:
        out.write(data)
    print(f"{target}: {len(lines)} lines, {len(data)} bytes, header {lines[0]}")


if __name__ == "__main__":
    main()
