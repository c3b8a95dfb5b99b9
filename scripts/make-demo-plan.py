#!/usr/bin/env python3
"""Writes the demo plan file demo/DEMO.PL for the demo school in demo/DEMO.GD.

The plan holds what a timetable officer enters before the first timetable run:
the teaching assignments of every class (a Stundentafel for a four-form Gymnasium),
religion/ethics couplings across the parallel classes of a grade, the course bands of
the upper school years 11 and 12 as couplings over their course groups 11A-11F and
12A-12F, a few blocks, teacher locks and one subject lock. The timetable itself is empty.

Run from anywhere:

    python3 scripts/make-demo-plan.py [output-path [base-data-path]]

The entity indexes are taken from the base-data file (default demo/DEMO.GD), so
run scripts/make-demo-school.py first when the school changes. The output is
deterministic; running the script again gives the identical file. Lines end in
CR LF; byte strings are written with every byte plus 40.
"""

import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

MAX_COUPLINGS = 100
ENC_OFFSET = 40            # every byte of a record string is written as byte + 40
BYTE_LIMIT = 256 - ENC_OFFSET   # record bytes must stay below this

# ---------------------------------------------------------------------------
# Stundentafel of the lower and middle school (grades 5-10): subject, periods.
# "FL" is the second foreign language: French in the A and B classes, Latin in
# the C and D classes, from grade 6 on. "REL" is the religion/ethics coupling of
# the grade (see RELIGION_GROUPS); it is not an ordinary assignment.
STUNDENTAFEL = {
    5: [("D", 5), ("E", 5), ("M", 4), ("BI", 2), ("EK", 2), ("PK", 1), ("MU", 2),
        ("KU", 2), ("SP", 3), ("IF", 2), ("REL", 2)],
    6: [("D", 4), ("E", 4), ("M", 4), ("FL", 4), ("BI", 2), ("EK", 1), ("GE", 2),
        ("MU", 2), ("KU", 2), ("SP", 3), ("REL", 2)],
    7: [("D", 4), ("E", 4), ("M", 4), ("FL", 4), ("PH", 2), ("BI", 2), ("GE", 2),
        ("EK", 1), ("PK", 1), ("MU", 1), ("KU", 2), ("SP", 3), ("REL", 2)],
    8: [("D", 4), ("E", 3), ("M", 4), ("FL", 3), ("PH", 2), ("CH", 2), ("BI", 2),
        ("GE", 2), ("EK", 1), ("PK", 1), ("MU", 1), ("KU", 2), ("SP", 3), ("REL", 2)],
    9: [("D", 4), ("E", 3), ("M", 4), ("FL", 3), ("PH", 2), ("CH", 2), ("BI", 2),
        ("GE", 2), ("EK", 1), ("PK", 1), ("KU", 2), ("SP", 3), ("IF", 2), ("REL", 2)],
    10: [("D", 3), ("E", 3), ("M", 4), ("FL", 3), ("PH", 2), ("CH", 2), ("BI", 2),
         ("GE", 2), ("EK", 2), ("PK", 2), ("MU", 2), ("SP", 3), ("REL", 2)],
}
SECOND_LANGUAGE = {"A": "F", "B": "F", "C": "L", "D": "L"}

# Religion/ethics groups of one grade, given to the classes A-D in this order (one
# member per class, so every class of the grade is busy while the coupling runs).
# The suffix tells two parallel groups of one subject apart.
RELIGION_GROUPS = {
    "odd": [("KR", "1"), ("KR", "2"), ("ER", " "), ("PL", " ")],
    "even": [("KR", " "), ("ER", "1"), ("ER", "2"), ("PL", " ")],
}
RELIGION_PERIODS = 2

# Upper school: the years 11 and 12 are split into the course groups 11A-11F and
# 12A-12F (pseudo-classes of the base data). One coupling per course band; a coupling
# holds every class at most once, so the courses of a band lie in different groups.
# A band is (name, groups, members): the groups string gives the course group of
# each member in order, e.g. "ABCF" puts the first member into 11A (or 12A) and the
# fourth into 11F. Every group gets one German and one mathematics course and never
# two courses of one subject; a band with fewer than six members leaves groups out,
# spread so that each group takes part in nine or ten of the ten bands.
# Members are (subject, suffix); digits number the Leistungskurse of a subject,
# letters its Grundkurse.
UPPER_GROUPS = "ABCDEF"
LK_PERIODS = 5
GK_PERIODS = 3
UPPER_BANDS = {
    "11": [
        ("LK-A", "ABCDEF", [("D", "1"), ("M", "1"), ("E", "1"), ("BI", "1"), ("GE", "1"),
                            ("CH", "1")]),
        ("LK-B", "BADCEF", [("D", "2"), ("M", "2"), ("E", "2"), ("PH", "1"), ("SW", "1"),
                            ("KU", "1")]),
        ("GK-1", "CDABE", [("D", "a"), ("M", "a"), ("E", "a"), ("F", "a"), ("SP", "a")]),
        ("GK-2", "DCAEBF", [("D", "b"), ("M", "b"), ("L", "a"), ("CH", "a"), ("GE", "a"),
                            ("SW", "a")]),
        ("GK-3", "EFBACD", [("D", "c"), ("M", "c"), ("E", "b"), ("PH", "a"), ("EK", "a"),
                            ("KU", "a")]),
        ("GK-4", "ABCF", [("KR", "a"), ("ER", "a"), ("PL", "a"), ("PL", "b")]),
        ("GK-5", "ABCEDF", [("BI", "a"), ("CH", "b"), ("IF", "a"), ("PA", "a"), ("SW", "b"),
                            ("MU", "a")]),
        ("GK-6", "EADFB", [("E", "c"), ("GE", "b"), ("EK", "b"), ("SP", "b"), ("KU", "b")]),
        ("GK-7", "FEABCD", [("D", "d"), ("M", "d"), ("F", "b"), ("PH", "b"), ("BI", "b"),
                            ("PA", "b")]),
        ("GK-8", "ABDFCE", [("SP", "c"), ("MU", "b"), ("GE", "c"), ("E", "d"), ("SW", "c"),
                            ("BI", "c")]),
    ],
    "12": [
        ("LK-A", "ABCDEF", [("D", "1"), ("M", "1"), ("E", "1"), ("GE", "1"), ("SW", "1"),
                            ("EK", "1")]),
        ("LK-B", "ABCDEF", [("M", "2"), ("E", "2"), ("BI", "1"), ("PH", "1"), ("KU", "1"),
                            ("D", "2")]),
        ("GK-1", "BCADE", [("D", "a"), ("M", "a"), ("E", "a"), ("F", "a"), ("SP", "a")]),
        ("GK-2", "CDABEF", [("D", "b"), ("M", "b"), ("L", "a"), ("CH", "a"), ("GE", "a"),
                            ("SW", "a")]),
        ("GK-3", "DEFABC", [("D", "c"), ("M", "c"), ("E", "b"), ("PH", "a"), ("EK", "a"),
                            ("IF", "a")]),
        ("GK-4", "ABCF", [("KR", "a"), ("ER", "a"), ("PL", "a"), ("PL", "b")]),
        ("GK-5", "ACEDF", [("BI", "a"), ("CH", "b"), ("PA", "a"), ("SW", "b"), ("MU", "a")]),
        ("GK-6", "DAEBF", [("E", "c"), ("GE", "b"), ("EK", "b"), ("SP", "b"), ("KU", "a")]),
        ("GK-7", "EFABDC", [("D", "d"), ("M", "d"), ("F", "b"), ("PH", "b"), ("BI", "b"),
                            ("PA", "b")]),
        ("GK-8", "BCEDF", [("LI", "a"), ("LI", "b"), ("DS", "a"), ("SP", "c"), ("GE", "c")]),
    ],
}
# Weekly periods a course group should reach (about those of a class of grade 10).
UPPER_GROUP_PERIODS = (30, 34)

# Blocks: couplings to be placed together, named by their labels.
BLOCKS = [
    ["Religion 5", "Religion 6"],
    ["Religion 7", "Religion 8"],
    ["Religion 9", "Religion 10"],
    ["11 LK-A", "12 LK-A"],
]

# Subjects each teacher can teach. "SW" covers Politik (PK) in the lower grades too.
QUALIFICATIONS = {
    "HB": "M PH", "WZ": "D GE", "SD": "E SW", "KG": "D KR", "LR": "M IF",
    "MR": "D E", "WS": "M BI", "BH": "E SP", "JG": "D MU", "FR": "BI CH",
    "GO": "M PH", "LN": "D GE", "HN": "E F", "KL": "L D", "BT": "KU E",
    "VO": "M CH", "KS": "D PL LI", "AL": "E GE", "OS": "BI SP", "SE": "L F",
    "HW": "M EK", "PO": "D ER", "RT": "E SP", "SO": "MU ER", "WI": "M PH",
    "FU": "D SW", "HA": "E F", "NO": "BI EK", "EN": "KU GE", "KN": "M SP",
    "DL": "D PA", "BG": "CH BI", "TH": "E GE", "LZ": "SP EK", "RG": "M PH",
    "ST": "D E LI", "MQ": "L D", "SF": "MU M", "WD": "KR BI", "ZL": "SP GE",
    "GT": "KU EK", "RM": "M IF", "TI": "L PL", "NB": "E KR", "FA": "PH M",
    "UR": "BI SP", "EC": "SW GE", "QU": "F PL", "IH": "CH M", "YI": "E SW",
    "PE": "KU EK", "CA": "D MU DS", "DZ": "MU GE", "VS": "KU BI", "KZ": "ER SW",
    "GH": "SP E", "AH": "D PA", "OM": "M SP", "JA": "E F", "LB": "BI CH",
}
SUBJECT_ALIASES = {"SW": ["SW", "PK"]}

# Teacher locks: teacher, day (1 = Monday), periods, lock value (the generator may
# use the slot from that relaxation level on; manual placement treats it as busy).
TEACHER_LOCKS = [
    ("HB", 1, [1, 2], 9),          # Monday morning: school management meeting
    ("WZ", 1, [1, 2], 9),
    ("BT", 5, list(range(1, 11)), 1),   # part-timer: free Friday wished
    ("LZ", 3, list(range(1, 11)), 1),   # part-timer: free Wednesday wished
]
# Subject locks: subject, day, periods, count of its rooms taken.
SUBJECT_LOCKS = [
    ("SP", 1, [1], 1),             # Monday period 1: the gym is lent to the primary school
]

# Charge for every further teacher of a class when loads are evened out.
CLASS_TEACHER_CHARGE = 0.5

# Teacher load may exceed weekly hours minus relief by at most this much.
LOAD_TOLERANCE = 2


# ---------------------------------------------------------------------------
# Base data

class School:
    """The entity lists of the base-data file, with 1-based indexes."""

    def __init__(self, path):
        text = path.read_bytes().decode("cp1252")
        lines = text.split("\r\n")
        head = [int(x) for x in lines[0].split(",")]
        packed, n_classes, n_teachers, n_subjects, n_rooms = head
        self.periods_per_day = packed & 15
        self.days = 6 - ((packed >> 8) & 7)
        pos = 1
        class_lines = lines[pos:pos + n_classes]
        pos += n_classes
        teacher_lines = lines[pos:pos + n_teachers - 1]
        pos += n_teachers - 1
        subject_lines = lines[pos:pos + n_subjects - 1]
        pos += n_subjects - 1
        room_lines = lines[pos:pos + n_rooms]

        self.classes = [ln.split(" ")[0][:3] for ln in class_lines]
        self.class_teacher = {ln.split(" ")[0][:3]: ln.split(" ")[1] for ln in class_lines}
        self.teachers = []
        self.relief = {}
        self.hours = {}
        for ln in teacher_lines:
            fields = ln.split(" ")
            code = fields[0].rstrip("+-")[:2]
            self.teachers.append(code)
            self.relief[code] = float(fields[2])
            self.hours[code] = float(fields[3])
        self.subjects = []
        self.room_field = {}
        self.lesson_kind = {}
        for ln in subject_lines:
            fields = ln.split(" ")
            code = fields[0].rstrip("+-")[:2]
            self.subjects.append(code)
            room = fields[2] if len(fields) > 2 and not fields[2].startswith(">") else None
            kind = fields[3] if len(fields) > 3 and room is not None else ""
            self.room_field[code] = room
            self.lesson_kind[code] = 1 if kind.startswith("D") else 2 if kind.startswith("T") else 0
        self.rooms = [ln.split(" ")[0][:3] for ln in room_lines]
        # Sentinels: one past the teachers and subjects in the file.
        self.n_teachers = len(self.teachers) + 1
        self.n_subjects = len(self.subjects) + 1

    def class_index(self, code):
        return self.classes.index(code) + 1

    def teacher_index(self, code):
        return self.teachers.index(code) + 1

    def subject_index(self, code):
        return self.subjects.index(code) + 1

    def capacity(self, teacher):
        return self.hours[teacher] - self.relief[teacher]

    def room_group(self, subject):
        """(group subject, parallel room count) for subjects with own rooms, else None."""
        field = self.room_field.get(subject)
        if field is None:
            return None
        if field[0] >= "A":
            other = field[:2].strip()
            if other == subject or other not in self.subjects:
                return None
            return self.room_group(other)
        count = field.split("+")[0]
        return subject, (256 if count.startswith("0") else int(count)) & 255


# ---------------------------------------------------------------------------
# The plan in terms of codes

class Lesson:
    """One ordinary assignment or one coupling member, before a teacher is chosen."""

    def __init__(self, class_code, subject, periods, coupling=None, suffix=" "):
        self.class_code = class_code
        self.subject = subject
        self.periods = periods
        self.coupling = coupling      # Coupling or None
        self.suffix = suffix
        self.teacher = None


class Coupling:
    def __init__(self, label, members, entries):
        self.label = label
        self.members = members        # list of Lesson
        self.entries = entries        # list of (lesson kind, periods)
        self.number = 0
        self.block = None

    @property
    def periods(self):
        return sum(p for _, p in self.entries)


def build_plan(school):
    ordinary = []
    couplings = []
    class_target = {}

    for code in school.classes:
        grade = code[:-1]
        if not grade.isdigit() or int(grade) not in STUNDENTAFEL:
            continue
        table = STUNDENTAFEL[int(grade)]
        class_target[code] = sum(p for _, p in table)
        for subject, periods in table:
            if subject == "REL":
                continue
            if subject == "FL":
                subject = SECOND_LANGUAGE[code[-1]]
            ordinary.append(Lesson(code, subject, periods))

    for grade in sorted(STUNDENTAFEL):
        grade_classes = [c for c in school.classes if c[:-1] == str(grade)]
        groups = RELIGION_GROUPS["odd" if grade % 2 else "even"]
        assert len(groups) == len(grade_classes), f"religion groups of grade {grade}"
        coupling = Coupling(f"Religion {grade}", [], [(0, RELIGION_PERIODS)])
        for class_code, (subject, suffix) in zip(grade_classes, groups):
            coupling.members.append(Lesson(class_code, subject, RELIGION_PERIODS,
                                           coupling, suffix))
        couplings.append(coupling)

    for year, bands in UPPER_BANDS.items():
        for group in UPPER_GROUPS:
            class_target[year + group] = 0
        for name, groups, members in bands:
            assert len(groups) == len(members), f"{year} {name}: groups and members"
            kind = max(school.lesson_kind[s] for s, _ in members)
            if name.startswith("LK"):
                entries = [(1, LK_PERIODS - 1), (0, 1)]
            elif kind == 2:
                entries = [(2, GK_PERIODS)]
            elif kind == 1:
                entries = [(1, GK_PERIODS - 1), (0, 1)]
            else:
                entries = [(0, GK_PERIODS)]
            coupling = Coupling(f"{year} {name}", [], entries)
            # Stored in the order of the course groups.
            for group, (subject, suffix) in sorted(zip(groups, members),
                                                   key=lambda pair: pair[0]):
                coupling.members.append(Lesson(year + group, subject, coupling.periods,
                                               coupling, suffix))
            couplings.append(coupling)
            for group in dict.fromkeys(groups):
                class_target[year + group] += coupling.periods

    for number, coupling in enumerate(couplings, 1):
        coupling.number = number
    by_label = {c.label: c for c in couplings}
    blocks = []
    for labels in BLOCKS:
        block = [by_label[label] for label in labels]
        for coupling in block:
            coupling.block = block
        blocks.append(block)
    return ordinary, couplings, blocks, class_target


# ---------------------------------------------------------------------------
# Teacher distribution

def qualified_for(subject):
    result = []
    for teacher, subjects in QUALIFICATIONS.items():
        for s in subjects.split():
            if subject in SUBJECT_ALIASES.get(s, [s]):
                result.append(teacher)
                break
    return result


def distribute_teachers(school, ordinary, couplings):
    """Chooses a teacher for every lesson; deterministic greedy by scarcity."""
    load = {t: 0 for t in school.teachers}
    classes_of = {t: [] for t in school.teachers}
    all_lessons = ordinary + [m for c in couplings for m in c.members]

    def busy_in_group(lesson):
        """Teachers already in the lesson's coupling or the other couplings of its block."""
        if lesson.coupling is None:
            return set()
        group = lesson.coupling.block or [lesson.coupling]
        return {m.teacher for c in group for m in c.members if m.teacher}

    def give(lesson, teacher):
        lesson.teacher = teacher
        load[teacher] += lesson.periods
        if lesson.class_code not in classes_of[teacher]:
            classes_of[teacher].append(lesson.class_code)

    def choose(lesson):
        excluded = busy_in_group(lesson)
        candidates = [t for t in qualified_for(lesson.subject) if t not in excluded]
        if not candidates:
            raise SystemExit(f"no teacher for {lesson.subject} in {lesson.class_code}")
        for limit in (0, LOAD_TOLERANCE):
            fitting = [t for t in candidates
                       if load[t] + lesson.periods <= school.capacity(t) + limit]
            if fitting:
                break
        else:
            raise SystemExit(f"all teachers for {lesson.subject} are full")

        def score(t):
            used = (load[t] + lesson.periods) / school.capacity(t)
            if lesson.class_code in classes_of[t] and lesson.coupling is None:
                used -= 0.06          # keep the number of teachers per class small
            return (used, school.teacher_index(t))
        give(lesson, min(fitting, key=score))

    # Class teachers first: each takes his first subject that the class has.
    fixed = []
    for class_code in school.classes:
        teacher = school.class_teacher[class_code]
        for subject in QUALIFICATIONS[teacher].split():
            names = SUBJECT_ALIASES.get(subject, [subject])
            found = [l for l in all_lessons
                     if l.class_code == class_code and l.subject in names and not l.teacher]
            if found:
                give(found[0], teacher)
                fixed.append(found[0])
                break
        else:
            raise SystemExit(f"class teacher {teacher} has no subject in {class_code}")

    # Then the scarce subjects first, bigger lessons before smaller ones.
    demand = {}
    for lesson in all_lessons:
        demand[lesson.subject] = demand.get(lesson.subject, 0) + lesson.periods
    supply = {}
    for subject in demand:
        supply[subject] = sum(school.capacity(t) / len(QUALIFICATIONS[t].split())
                              for t in qualified_for(subject))
    order = sorted(
        (l for l in all_lessons if not l.teacher),
        key=lambda l: (l.coupling is None, supply[l.subject] / demand[l.subject],
                       -l.periods, all_lessons.index(l)))
    for lesson in order:
        choose(lesson)
    balance(school, all_lessons, load, fixed)
    return load


def balance(school, lessons, load, fixed):
    """Moves single lessons to other teachers while that evens out the loads.

    The cost is the squared distance of every teacher from the school-wide share of
    his hours, plus a charge for every extra teacher a class gets. Every move lowers
    the cost, so the loop ends; the order of the tries is fixed.
    """
    share = sum(load.values()) / sum(school.capacity(t) for t in school.teachers)
    pairs = {}
    for lesson in lessons:
        key = (lesson.class_code, lesson.teacher)
        pairs[key] = pairs.get(key, 0) + 1

    def teacher_cost(t, periods):
        cap = school.capacity(t)
        return (periods - share * cap) ** 2 / cap

    def busy(lesson):
        if lesson.coupling is None:
            return set()
        group = lesson.coupling.block or [lesson.coupling]
        return {m.teacher for c in group for m in c.members if m is not lesson}

    for _ in range(1000):
        best = None
        for lesson in lessons:
            if lesson in fixed:
                continue
            old = lesson.teacher
            excluded = busy(lesson)
            for new in qualified_for(lesson.subject):
                if new == old or new in excluded:
                    continue
                if load[new] + lesson.periods > school.capacity(new):
                    continue
                gain = (teacher_cost(old, load[old]) + teacher_cost(new, load[new])
                        - teacher_cost(old, load[old] - lesson.periods)
                        - teacher_cost(new, load[new] + lesson.periods))
                if lesson.coupling is None:
                    if pairs[(lesson.class_code, old)] == 1:
                        gain += CLASS_TEACHER_CHARGE
                    if pairs.get((lesson.class_code, new), 0) == 0:
                        gain -= CLASS_TEACHER_CHARGE
                if gain > 1e-9 and (best is None or gain > best[0] + 1e-9):
                    best = (gain, lesson, new)
        if best is None:
            return
        _, lesson, new = best
        old = lesson.teacher
        load[old] -= lesson.periods
        load[new] += lesson.periods
        pairs[(lesson.class_code, old)] -= 1
        pairs[(lesson.class_code, new)] = pairs.get((lesson.class_code, new), 0) + 1
        lesson.teacher = new
    raise SystemExit("teacher balance does not settle")


# ---------------------------------------------------------------------------
# Records and file

def assignment_records(school, ordinary, couplings):
    records = []
    for lesson in ordinary:
        records.append(bytes([school.teacher_index(lesson.teacher),
                              school.class_index(lesson.class_code),
                              school.subject_index(lesson.subject),
                              lesson.periods]))
    for coupling in couplings:
        for kind, periods in coupling.entries:
            records.append(bytes([0, kind, coupling.number, periods]))
    return records


def coupling_bytes(school, coupling):
    return b"".join(bytes([school.teacher_index(m.teacher),
                           school.class_index(m.class_code),
                           school.subject_index(m.subject),
                           ord(m.suffix)]) for m in coupling.members)


def lock_records(school):
    """(day, period, text) for every lock, in file order."""
    teacher_locks = {}
    for teacher, day, periods, value in TEACHER_LOCKS:
        for period in periods:
            teacher_locks[(day, period, school.teacher_index(teacher))] = value
    subject_locks = {}
    for subject, day, periods, count in SUBJECT_LOCKS:
        for period in periods:
            subject_locks[(day, period, school.subject_index(subject))] = count
    lines = []
    for day in range(1, 7):
        for period in range(1, school.periods_per_day + 1):
            pos = 6 * period + day - 1
            for t in range(1, school.n_teachers + 1):
                value = teacher_locks.get((day, period, t), 0)
                if value > 0:
                    lines.append(f"{pos},{t},{value}")
            for s in range(1, school.n_subjects + 1):
                count = subject_locks.get((day, period, s), 0)
                if count > 0:
                    lines.append(f"{pos},{s},{-count}")
    return lines


def enc40(data):
    return bytes(b + ENC_OFFSET for b in data)


def plan_file(school, couplings, blocks, records):
    block_texts = [",".join(str(c.number) for c in block) for block in blocks]
    lines = [b"#5#"]
    lines += [text.encode("ascii") for text in lock_records(school)]
    lines.append(f"0,{len(couplings)},{len(blocks)}".encode("ascii"))
    lines += [enc40(coupling_bytes(school, c)) for c in couplings]
    lines += [text.encode("ascii") for text in block_texts]
    lines.append(b"#5#")
    lines.append(b"0,0,0,0")                   # no timetable yet
    lines.append(enc40(b"".join(records)))     # assignments (buffer empty)
    lines.append(b"")                          # open lessons
    lines.append(b"")                          # freed lessons
    return b"".join(line + b"\r\n" for line in lines)


# ---------------------------------------------------------------------------
# Checks

def class_periods(school, ordinary, couplings):
    sums = {c: 0 for c in school.classes}
    for lesson in ordinary:
        sums[lesson.class_code] += lesson.periods
    for coupling in couplings:
        for class_code in dict.fromkeys(m.class_code for m in coupling.members):
            sums[class_code] += coupling.periods
    return sums


def check(school, ordinary, couplings, blocks, class_target, load, records, data):
    problems = []

    def need(condition, message):
        if not condition:
            problems.append(message)

    sums = class_periods(school, ordinary, couplings)
    for class_code in school.classes:
        need(sums[class_code] == class_target.get(class_code),
             f"class {class_code}: {sums[class_code]} periods, "
             f"expected {class_target.get(class_code)}")

    for teacher in school.teachers:
        need(load[teacher] <= school.capacity(teacher) + LOAD_TOLERANCE,
             f"teacher {teacher}: load {load[teacher]} above "
             f"{school.hours[teacher]:g} - {school.relief[teacher]:g} + {LOAD_TOLERANCE}")
    for class_code in school.classes:
        teacher = school.class_teacher[class_code]
        need(any(l.teacher == teacher and l.class_code == class_code
                 for l in ordinary + [m for c in couplings for m in c.members]),
             f"class teacher {teacher} does not teach in {class_code}")

    need(len(couplings) <= MAX_COUPLINGS, "too many couplings")
    for coupling in couplings:
        teachers = [m.teacher for m in coupling.members]
        need(len(set(teachers)) == len(teachers), f"{coupling.label}: teacher twice")
        # The coupling editor refuses a class twice, and the class grid has one cell
        # per class and slot.
        classes = [m.class_code for m in coupling.members]
        need(len(set(classes)) == len(classes), f"{coupling.label}: class twice")
        courses = [(m.class_code, m.subject, m.suffix) for m in coupling.members]
        need(len(set(courses)) == len(courses), f"{coupling.label}: course twice")
        for m in coupling.members:
            need(m.suffix == " " or "0" <= m.suffix <= "z",
                 f"{coupling.label}: bad suffix {m.suffix!r}")
    for block in blocks:
        members = [m for c in block for m in c.members]
        teachers = [m.teacher for m in members]
        need(len(set(teachers)) == len(teachers), f"block {block[0].label}: teacher twice")
        classes = [m.class_code for m in members]
        need(len(set(classes)) == len(classes), f"block {block[0].label}: class twice")
    # Course groups of the upper school: a full week, and no subject twice.
    for year in UPPER_BANDS:
        for group in UPPER_GROUPS:
            code = year + group
            low, high = UPPER_GROUP_PERIODS
            need(low <= sums[code] <= high,
                 f"course group {code}: {sums[code]} periods, not {low}-{high}")
            subjects = [m.subject for c in couplings for m in c.members
                        if m.class_code == code]
            need(len(set(subjects)) == len(subjects),
                 f"course group {code}: a subject twice")
    # Subjects with few rooms: members placed together must find a room each.
    for group in [[c] for c in couplings] + blocks:
        used = {}
        for m in (m for c in group for m in c.members):
            room = school.room_group(m.subject)
            if room:
                used[room] = used.get(room, 0) + 1
        for (subject, count), n in used.items():
            need(n <= count, f"{group[0].label}: {n} lessons need {subject} rooms, "
                             f"{count} available")

    # Over the week every subject room group must hold all periods of its lessons.
    slots = school.days * school.periods_per_day
    week = {}
    for lesson in ordinary + [m for c in couplings for m in c.members]:
        room = school.room_group(lesson.subject)
        if room:
            week[room] = week.get(room, 0) + lesson.periods
    for (subject, count), n in week.items():
        locked = sum(len(periods) * taken for s, _, periods, taken in SUBJECT_LOCKS
                     if s == subject)
        need(n <= count * slots - locked,
             f"{subject} rooms: {n} periods a week, room for {count * slots - locked}")

    for record in records:
        need(len(record) == 4 and all(b < BYTE_LIMIT for b in record),
             f"bad assignment record {list(record)}")
        need(1 <= (record[3] & 15) <= 10, f"bad period count {list(record)}")
    for coupling in couplings:
        need(all(b < BYTE_LIMIT for b in coupling_bytes(school, coupling)),
             f"{coupling.label}: byte value too large")
    for t in school.teachers:
        need(t in QUALIFICATIONS, f"teacher {t} has no subjects")
    need(sorted(QUALIFICATIONS) == sorted(school.teachers), "teacher list mismatch")

    # Read the file back the way the planner does.
    lines = data.split(b"\r\n")
    need(lines[-1] == b"" and b"\x1a" not in data, "file end")
    lines = lines[:-1]
    need(lines[0] == b"#5#", "version line")
    i = 1
    while lines[i].split(b",")[0] != b"0":
        pos, index, value = (int(x) for x in lines[i].split(b","))
        need(pos > 0 and value != 0, f"lock record {lines[i]!r}")
        i += 1
    _, n_couplings, n_blocks = (int(x) for x in lines[i].split(b","))
    need(n_couplings == len(couplings) and n_blocks == len(blocks), "terminator")
    i += 1
    for coupling in couplings:
        need(all(b >= ENC_OFFSET for b in lines[i]), f"{coupling.label}: code below 40")
        need(bytes(b - ENC_OFFSET for b in lines[i]) == coupling_bytes(school, coupling),
             f"{coupling.label}: does not read back")
        i += 1
    i += n_blocks
    need(lines[i] == b"#5#" and lines[i + 1] == b"0,0,0,0", "timetable section")
    decoded = bytes(b - ENC_OFFSET for b in lines[i + 2])
    need(decoded == b"".join(records), "assignments do not read back")
    need(lines[i + 3:] == [b"", b""], "open and freed lessons")

    if problems:
        raise AssertionError("demo plan:\n  " + "\n  ".join(problems))


# ---------------------------------------------------------------------------
# Summary

DAY_NAMES = ["MO", "DI", "MI", "DO", "FR", "SA"]


def summary(school, ordinary, couplings, blocks, load, records, target, data):
    out = []
    sums = class_periods(school, ordinary, couplings)
    out.append("Periods per class (ordinary + coupled = total):")
    row = []
    for class_code in school.classes:
        single = sum(l.periods for l in ordinary if l.class_code == class_code)
        row.append(f"{class_code:>3} {single:2}+{sums[class_code] - single:2}={sums[class_code]:2}")
        if len(row) == 4:
            out.append("  " + "   ".join(row))
            row = []
    if row:
        out.append("  " + "   ".join(row))

    out.append("Teacher load (periods / weekly hours - relief):")
    row = []
    for teacher in school.teachers:
        row.append(f"{teacher} {load[teacher]:2}/{school.capacity(teacher):4g}")
        if len(row) == 6:
            out.append("  " + "  ".join(row))
            row = []
    if row:
        out.append("  " + "  ".join(row))
    total_load = sum(load.values())
    total_cap = sum(school.capacity(t) for t in school.teachers)
    out.append(f"  total {total_load} of {total_cap:g} ({100 * total_load / total_cap:.0f} %)")

    out.append(f"Couplings ({len(couplings)}):")
    for c in couplings:
        kinds = " + ".join(f"{p}{'EDT'[k]}" for k, p in c.entries)
        courses = ", ".join(f"{m.class_code} {m.teacher} {m.subject}{m.suffix.strip()}"
                            for m in c.members)
        out.append(f"  {c.number:2} {c.label:<11} {len(c.members)} members, {kinds}: {courses}")
    out.append(f"Blocks ({len(blocks)}):")
    for number, block in enumerate(blocks, 1):
        out.append(f"  {number} {','.join(str(c.number) for c in block):<6} "
                   + " + ".join(c.label for c in block))
    out.append("Locks:")
    for teacher, day, periods, value in TEACHER_LOCKS:
        out.append(f"  teacher {teacher} {DAY_NAMES[day - 1]} periods "
                   f"{periods[0]}-{periods[-1]}, value {value}")
    for subject, day, periods, count in SUBJECT_LOCKS:
        out.append(f"  subject {subject} {DAY_NAMES[day - 1]} periods "
                   f"{periods[0]}-{periods[-1]}, count {count}")
    n_coupling_entries = sum(len(c.entries) for c in couplings)
    out.append(f"Assignment records: {len(records)} ({len(ordinary)} ordinary, "
               f"{n_coupling_entries} coupling entries)")
    out.append(f"{target}: {len(data)} bytes")
    return "\n".join(out)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "demo" / "DEMO.PL"
    base = Path(sys.argv[2]) if len(sys.argv) > 2 else ROOT / "demo" / "DEMO.GD"
    school = School(base)
    ordinary, couplings, blocks, class_target = build_plan(school)
    load = distribute_teachers(school, ordinary, couplings)
    records = assignment_records(school, ordinary, couplings)
    data = plan_file(school, couplings, blocks, records)
    check(school, ordinary, couplings, blocks, class_target, load, records, data)
    target.parent.mkdir(parents=True, exist_ok=True)
    with open(target, "wb") as out:
        out.write(data)
    print(summary(school, ordinary, couplings, blocks, load, records, target, data))


if __name__ == "__main__":
    main()
