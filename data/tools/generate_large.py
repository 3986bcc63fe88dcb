#!/usr/bin/env python3
"""Builds a large synthetic element-group database for benchmarks.

    python3 data/tools/generate_large.py large.db                 # 1,000,000 groups, SQLite
    python3 data/tools/generate_large.py --groups 20000 small.db
    python3 data/tools/generate_large.py --sql large.sql          # portable INSERTs, load after a schema

The SQLite form creates the file from data/schema/sqlite.sql and fills it
directly; the --sql form writes INSERT statements (same convention as the
other scripts) to load after either schema file, followed by
data/schema/sync_ids.<engine>.sql. The same arguments always give the same data.

Group names are unique without regard to case; each group has 0 to
2 x --members members and 0 to 2 x --citations citations, numbered 1..n. The first
elements are the real taxa of the sample lists, the rest are "Genus sp. N".
"""

import argparse
import itertools
import os
import random
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(DATA, "sample"))
import generate_sample  # noqa: E402
import name_lists  # noqa: E402
from sqlscript import read_statements  # noqa: E402

QUALIFIERS = ["Rare", "Imperiled", "Declining", "Endemic", "Priority", "Sensitive", "Peripheral", "Disjunct",
              "Watch-list", "Relict", "Characteristic", "Indicator", "Keystone", "Migratory", "Resident",
              "Colonial", "Riparian", "Upland", "Lowland", "Headwater"]
SUBJECTS = [
    ("Freshwater Mussels", "Zoological"), ("Darters", "Zoological"), ("Madtoms", "Zoological"),
    ("Salamanders", "Zoological"), ("Frogs and Toads", "Zoological"), ("Turtles", "Zoological"),
    ("Snakes", "Zoological"), ("Grassland Birds", "Zoological"), ("Marsh Birds", "Zoological"),
    ("Shorebirds", "Zoological"), ("Forest Songbirds", "Zoological"), ("Bats", "Zoological"),
    ("Small Mammals", "Zoological"), ("Butterflies", "Zoological"), ("Moths", "Zoological"),
    ("Bumble Bees", "Zoological"), ("Tiger Beetles", "Zoological"), ("Dragonflies", "Zoological"),
    ("Crayfishes", "Zoological"), ("Cave Invertebrates", "Zoological"),
    ("Orchids", "Botanical"), ("Prairie Forbs", "Botanical"), ("Sedges", "Botanical"),
    ("Spring Ephemerals", "Botanical"), ("Ferns", "Botanical"), ("Carnivorous Plants", "Botanical"),
    ("Alpine Plants", "Botanical"), ("Dune Plants", "Botanical"), ("Forest Trees", "Botanical"),
    ("Aquatic Plants", "Botanical"), ("Mosses", "Botanical"), ("Lichens", "Botanical"),
    ("Wetland Communities", "Ecological"), ("Forest Communities", "Ecological"),
    ("Grassland Communities", "Ecological"), ("Barrens Communities", "Ecological"),
    ("Coastal Communities", "Ecological"), ("Peatland Communities", "Ecological"),
    ("Cliff Communities", "Ecological"), ("Riverine Communities", "Ecological"),
]
CATEGORY_OF = {"Zoological": "Animal", "Botanical": "Plant", "Ecological": "Community"}
MEMBER_TYPE_ID = {"Botanical": 1, "Zoological": 2, "Ecological": 3}
PURPOSES = list(generate_sample.PURPOSE.values())


def places():
    seen, out = set(), []
    for theme in name_lists.THEMES:
        for region in theme["regions"]:
            if region not in seen:
                seen.add(region)
                out.append(region)
    return out


def coprime_step(total, rng):
    from math import gcd
    step = rng.randrange(total // 3, total // 2 + 2)
    while gcd(step, total) != 1:
        step += 1
    return step


def element_rows(count):
    real = generate_sample.build_elements()
    category_of_genus = {e["sci"].split()[0]: e["category"] for e in real if e["category"] != "Community"}
    genera = sorted(category_of_genus)
    for e in real[:count]:
        yield (e["id"], e["sci"], e["common"], e["category"])
    for eid in range(len(real) + 1, count + 1):
        genus = genera[eid % len(genera)]
        category = category_of_genus[genus]
        common = None if eid % 3 == 0 else f"{genus} species {eid}"
        yield (eid, f"{genus} sp. {eid}", common, category)


def reference_rows(count, rng):
    authors = generate_sample.INVENTED_AUTHORS
    journals = sorted({j for js in generate_sample.JOURNALS.values() for j in js})
    region_list = places()
    for rid in range(1, count + 1):
        author = authors[rid % len(authors)]
        year = 1950 + rid % 74
        region = region_list[rid % len(region_list)]
        subject = SUBJECTS[rid % len(SUBJECTS)][0].lower()
        journal = journals[rid % len(journals)]
        page = rng.randint(1, 600)
        code = f"R{rid:07d}"
        yield (rid, code, f"{author.split(',')[0]} {year}",
               f"{author.rstrip('.')}. {year}. Status of {subject} in the {region}. {journal} {rid % 97 + 1}:{page}-{page + 12}.",
               year)


def group_rows(count, rng):
    region_list = places()
    total = len(QUALIFIERS) * len(SUBJECTS) * len(region_list)
    step = coprime_step(total, rng)
    type_count = len(name_lists.GROUP_TYPES)
    org_count = len(generate_sample.ORG_UNITS)
    editors = generate_sample.EDITORS
    for gid in range(1, count + 1):
        index = gid - 1
        unit, j = divmod(index, total)
        j = (j * step) % total
        j, q = divmod(j, len(QUALIFIERS))
        p, s = divmod(j, len(SUBJECTS))
        subject, member_type = SUBJECTS[s]
        region = region_list[p]
        name = f"{QUALIFIERS[q]} {subject} of the {region}" + (f", Unit {unit}" if unit else "")
        purpose = PURPOSES[gid % len(PURPOSES)]
        desc = f"{subject} of the {region}, brought together for {purpose}."
        detailed = gid % 4 == 0
        year = 2000 + gid % 24
        created = f"{year}-{gid % 12 + 1:02d}-{gid % 28 + 1:02d} {gid % 10 + 8:02d}:{gid % 60:02d}:00"
        yield (gid, name, gid % type_count + 1, MEMBER_TYPE_ID[member_type], desc,
               f"Occurrences span the {region}." if detailed else None,
               f"{subject} of characteristic habitats in the {region}." if detailed else None,
               None,
               "Habitat loss, invasive species and altered disturbance regimes." if detailed else None,
               None, None,
               gid % org_count + 1, f"ELGRP{gid:07d}",
               editors[gid % len(editors)], created, editors[(gid + 1) % len(editors)], created)


def link_rows(groups, targets, average, rng, created="2020-01-01 00:00:00"):
    """(group, target, display order, ...) rows: 0 to 2 x average distinct targets per group."""
    rand = rng.random
    top = 2 * average
    for gid in range(1, groups + 1):
        k = min(int(rand() * (top + 1)), targets)
        if not k:
            continue
        start = int(rand() * targets)
        step = 1 + int(rand() * max(1, targets // k - 1))
        user = "ecarter"
        for order in range(1, k + 1):
            yield (gid, (start + order * step) % targets + 1, order, user, created, user, created)


ELEMENT_GROUP_COLUMNS = ["element_group_id", "element_group_name", "d_element_group_type_id", "d_group_member_type_id",
                         "element_group_desc", "range_com", "habitat_com", "ecology_com", "threat_com", "status_com",
                         "trend_com", "org_unit_id", "universal_key", "rec_create_user", "rec_create_date",
                         "rec_last_mod_user", "rec_last_mod_date"]
LINK_COLUMNS = ["rec_create_user", "rec_create_date", "rec_last_mod_user", "rec_last_mod_date"]


def tables(args, rng):
    """(table, columns, rows) in load order."""
    yield ("org_unit", ["org_unit_id", "org_unit_code", "org_unit_name"], iter(generate_sample.ORG_UNITS))
    yield ("app_user", ["user_id", "user_name", "full_name", "org_unit_id", "is_active"],
           ((u[0], u[1], u[2], u[3], "Y") for u in generate_sample.USERS))
    yield ("user_access", ["user_id", "form_name", "control_name", "access_level"],
           ((u[0], "*", "*", u[4]) for u in generate_sample.USERS))
    yield ("d_element_group_type", ["d_element_group_type_id", "element_group_type_desc", "display_order"],
           ((i + 1, d, o) for i, (d, o) in enumerate(name_lists.GROUP_TYPES)))
    elements = list(element_rows(args.elements))
    yield ("scientific_name", ["scientific_name_id", "scientific_name"], ((e[0], e[1]) for e in elements))
    yield ("element_global", ["element_global_id", "gname_id", "g_primary_common_name", "element_category"],
           ((e[0], e[0], e[2], e[3]) for e in elements))
    yield ("reference", ["reference_id", "reference_code", "short_citation", "full_citation", "pub_year"],
           reference_rows(args.references, rng))
    yield ("element_group", ELEMENT_GROUP_COLUMNS, group_rows(args.groups, rng))
    yield ("element_group_membership", ["element_group_id", "element_global_id", "display_order"] + LINK_COLUMNS,
           link_rows(args.groups, args.elements, args.members, rng))
    yield ("element_group_reference", ["element_group_id", "reference_id", "display_order"] + LINK_COLUMNS,
           link_rows(args.groups, args.references, args.citations, rng))


def batches(rows, size):
    while True:
        batch = list(itertools.islice(rows, size))
        if not batch:
            return
        yield batch


def is_index(statement):
    head = statement.lstrip().upper()
    return head.startswith("CREATE INDEX") or head.startswith("CREATE UNIQUE INDEX")


def build_sqlite(args, rng):
    import sqlite3
    if os.path.exists(args.output):
        os.remove(args.output)
    con = sqlite3.connect(args.output, isolation_level=None)
    # A throwaway file being built: durability buys nothing until it is complete.
    con.execute("PRAGMA journal_mode = OFF")
    con.execute("PRAGMA synchronous = OFF")
    con.execute("PRAGMA cache_size = -400000")
    con.execute("PRAGMA temp_store = MEMORY")
    statements = read_statements(os.path.join(DATA, "schema", "sqlite.sql"))
    # Secondary indexes are cheaper to build once at the end than to keep up row by row.
    indexes = [s for s in statements if is_index(s)]
    con.execute("BEGIN")
    for statement in statements:
        if not is_index(statement):
            con.execute(statement)
    for table, columns, rows in tables(args, rng):
        started = time.time()
        sql = f"INSERT INTO {table} ({', '.join(columns)}) VALUES ({', '.join('?' * len(columns))})"
        n = 0
        for batch in batches(rows, 50000):
            con.executemany(sql, batch)
            n += len(batch)
        report(args, f"{table}: {n} rows in {time.time() - started:.1f} s")
    con.execute("COMMIT")
    started = time.time()
    con.execute("BEGIN")
    for statement in indexes:
        con.execute(statement)
    for statement in read_statements(os.path.join(DATA, "schema", "sync_ids.sqlite.sql")):
        con.execute(statement)
    con.execute("COMMIT")
    con.execute("ANALYZE")
    report(args, f"indexes, ids and statistics in {time.time() - started:.1f} s")
    if args.verify:
        started = time.time()
        problems = con.execute("PRAGMA foreign_key_check").fetchmany(5)
        report(args, f"foreign key check in {time.time() - started:.1f} s: {'ok' if not problems else problems}")
        if problems:
            sys.exit(1)
    con.execute("PRAGMA journal_mode = DELETE")
    con.close()


def build_sql(args, rng):
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        out.write("-- Synthetic benchmark data written by generate_large.py; load after a schema file,\n"
                  "-- then run data/schema/sync_ids.<engine>.sql.\n")
        for table, columns, rows in tables(args, rng):
            started = time.time()
            n = 0
            for batch in batches(rows, 500):
                lines = generate_sample.insert_statements(table, columns, batch, chunk=500)
                out.write("\n".join(lines) + "\n")
                n += len(batch)
            report(args, f"{table}: {n} rows in {time.time() - started:.1f} s")


def report(args, text):
    if not args.quiet:
        print(text, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="SQLite file to create (replaced if it exists), or SQL file with --sql")
    parser.add_argument("--groups", type=int, default=1_000_000, help="number of element groups (default 1000000)")
    parser.add_argument("--elements", type=int, default=50_000, help="number of elements (default 50000)")
    parser.add_argument("--references", type=int, default=20_000, help="number of references (default 20000)")
    parser.add_argument("--members", type=int, default=4, help="average members per group (default 4)")
    parser.add_argument("--citations", type=int, default=2, help="average citations per group (default 2)")
    parser.add_argument("--seed", type=int, default=20240611, help="random seed (default 20240611)")
    parser.add_argument("--sql", action="store_true", help="write portable INSERT statements instead of a SQLite file")
    parser.add_argument("--verify", action="store_true", help="run the foreign key check at the end (SQLite)")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    if args.groups < 1 or args.elements < 1 or args.references < 1:
        parser.error("counts must be positive")
    rng = random.Random(args.seed)
    started = time.time()
    (build_sql if args.sql else build_sqlite)(args, rng)
    report(args, f"done in {time.time() - started:.1f} s: {args.output}")


if __name__ == "__main__":
    main()
