#!/usr/bin/env python3
"""Writes sample.sql, the sample data set, from the lists in name_lists.py.

    python3 data/sample/generate_sample.py            # rewrites data/sample/sample.sql
    python3 data/sample/generate_sample.py -o out.sql

The output is portable SQL for SQLite and PostgreSQL, loaded after the schema
and followed by data/schema/sync_ids.<engine>.sql. It is deterministic: the
same lists and seed give the same file, byte for byte.
"""

import argparse
import datetime
import os
import random
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import name_lists  # noqa: E402

SEED = 1966

ORG_UNITS = [
    (1, "HQ", "Central Science Office"),
    (2, "APP", "Appalachian Field Office"),
    (3, "GLK", "Great Lakes Field Office"),
    (4, "SEC", "Southeast Coastal Field Office"),
    (5, "BAL", "Baltic Partner Programme"),
]

# (id, login, full name, org unit, access letter on every screen)
USERS = [
    (1, "ecarter", "Elena Carter", 1, "F"),
    (2, "jbrandt", "Jonas Brandt", 3, "R"),
]

# Staff who created and edited the historic records.
EDITORS = ["ecarter", "mhollis", "tnakamura", "rdelacroix", "ssjoberg"]

THEME_ORG_UNIT = {
    "alvar": 5, "communities_eu": 5, "coastal": 4, "bog": 4, "reptiles": 4,
    "mussels": 2, "fishes": 2, "salamanders": 2, "woodland": 2, "crayfish": 2,
    "prairie": 3, "aquatic": 3, "insects": 3, "lepidoptera": 3,
}

PURPOSE = {
    "Taxonomic Group": "status reviews across the whole taxon",
    "Ecological Guild": "species that share a way of life and respond alike to management",
    "Geographic Assemblage": "regional conservation planning",
    "Habitat Association": "species that depend on the same habitat",
    "Conservation Priority": "the regional list of conservation targets",
    "Management Unit": "coordinated stewardship on the managed lands",
    "Monitoring Program": "the standard monitoring protocol and its annual report",
    "Regulatory List": "tracking under state and federal listing",
}

ECOLOGY = {
    "Plant": [
        "Most members are long-lived perennials that need periodic disturbance to keep their habitat open.",
        "Several members depend on specialist pollinators or mycorrhizal partners, so seedlings rarely establish away from existing colonies.",
        "Seed banks are short-lived; populations recover from disturbance mainly by clonal spread.",
    ],
    "Animal": [
        "Life histories differ, but most members are long-lived, reproduce slowly and disperse poorly between habitat patches.",
        "Several members need two habitats in the year (breeding and wintering sites) and the route between them.",
        "Members share prey or host species, so the loss of one often follows the loss of another.",
    ],
    "Community": [
        "These communities are maintained by natural processes (fire, flooding, grazing or salt spray) that also set their boundaries.",
        "Composition shifts along moisture and soil gradients; transitions between neighbouring types are gradual.",
    ],
}

# Published works cited by the sample groups: (authors, year, title and source, themes).
REAL_REFERENCES = [
    ("Gleason, H. A., and A. Cronquist", 1991, "Manual of vascular plants of northeastern United States and adjacent Canada. Second edition. The New York Botanical Garden, Bronx, New York. 910 pp.", "alpine orchids prairie woodland bog ferns coastal trees aquatic"),
    ("Williams, J. D., M. L. Warren, Jr., K. S. Cummings, J. L. Harris, and R. J. Neves", 1993, "Conservation status of freshwater mussels of the United States and Canada. Fisheries 18(9):6-22.", "mussels"),
    ("Parmalee, P. W., and A. E. Bogan", 1998, "The freshwater mussels of Tennessee. The University of Tennessee Press, Knoxville. 328 pp.", "mussels"),
    ("Haag, W. R.", 2012, "North American freshwater mussels: natural history, ecology, and conservation. Cambridge University Press, Cambridge. 505 pp.", "mussels"),
    ("Cowardin, L. M., V. Carter, F. C. Golet, and E. T. LaRoe", 1979, "Classification of wetlands and deepwater habitats of the United States. FWS/OBS-79/31. U.S. Fish and Wildlife Service, Washington, D.C. 131 pp.", "bog aquatic coastal communities_na"),
    ("Page, L. M., and B. M. Burr", 1991, "A field guide to freshwater fishes of North America north of Mexico. Houghton Mifflin Company, Boston. 432 pp.", "fishes"),
    ("Etnier, D. A., and W. C. Starnes", 1993, "The fishes of Tennessee. The University of Tennessee Press, Knoxville. 681 pp.", "fishes"),
    ("Petranka, J. W.", 1998, "Salamanders of the United States and Canada. Smithsonian Institution Press, Washington, D.C. 587 pp.", "salamanders"),
    ("Conant, R., and J. T. Collins", 1998, "A field guide to reptiles and amphibians of eastern and central North America. Third edition, expanded. Houghton Mifflin Company, Boston. 616 pp.", "salamanders frogs reptiles"),
    ("Ernst, C. H., and J. E. Lovich", 2009, "Turtles of the United States and Canada. Second edition. The Johns Hopkins University Press, Baltimore. 827 pp.", "reptiles"),
    ("Flora of North America Editorial Committee, eds.", 1993, "Flora of North America north of Mexico. Oxford University Press, New York and Oxford.", "alpine orchids prairie woodland bog ferns coastal trees aquatic"),
    ("Stace, C.", 2010, "New flora of the British Isles. Third edition. Cambridge University Press, Cambridge. 1232 pp.", "orchids alvar communities_eu"),
    ("Rodwell, J. S., ed.", 1991, "British plant communities. Volume 2: Mires and heaths. Cambridge University Press, Cambridge. 628 pp.", "communities_eu bog"),
    ("Ellenberg, H.", 1988, "Vegetation ecology of Central Europe. Fourth edition. Cambridge University Press, Cambridge. 731 pp.", "communities_eu alvar"),
    ("Sibley, D. A.", 2000, "The Sibley guide to birds. Alfred A. Knopf, New York. 544 pp.", "birds"),
    ("Weaver, J. E.", 1954, "North American prairie. Johnsen Publishing Company, Lincoln, Nebraska. 348 pp.", "prairie communities_na"),
    ("Curtis, J. T.", 1959, "The vegetation of Wisconsin: an ordination of plant communities. The University of Wisconsin Press, Madison. 657 pp.", "prairie woodland communities_na"),
    ("Luer, C. A.", 1975, "The native orchids of the United States and Canada excluding Florida. The New York Botanical Garden, Bronx, New York. 361 pp.", "orchids"),
    ("Schnell, D. E.", 2002, "Carnivorous plants of the United States and Canada. Second edition. Timber Press, Portland, Oregon. 468 pp.", "bog"),
    ("Blehert, D. S., A. C. Hicks, M. Behr, et al.", 2009, "Bat white-nose syndrome: an emerging fungal pathogen? Science 323:227.", "mammals"),
    ("Frick, W. F., J. F. Pollock, A. C. Hicks, et al.", 2010, "An emerging disease causes regional population collapse of a common North American bat species. Science 329:679-682.", "mammals"),
    ("Cameron, S. A., J. D. Lozier, J. P. Strange, et al.", 2011, "Patterns of widespread decline in North American bumble bees. Proceedings of the National Academy of Sciences 108(2):662-667.", "insects"),
    ("Samson, F., and F. Knopf", 1994, "Prairie conservation in North America. BioScience 44(6):418-421.", "prairie birds lepidoptera"),
    ("Noss, R. F., E. T. LaRoe III, and J. M. Scott", 1995, "Endangered ecosystems of the United States: a preliminary assessment of loss and degradation. Biological Report 28. National Biological Service, Washington, D.C. 58 pp.", "communities_na"),
    ("Rosén, E.", 1982, "Vegetation development and sheep grazing in limestone grasslands of south Öland, Sweden. Acta Phytogeographica Suecica 72. 108 pp.", "alvar communities_eu"),
    ("Catling, P. M., and V. R. Brownell", 1995, "A review of the alvars of the Great Lakes region: distribution, floristic composition, biogeography and protection. The Canadian Field-Naturalist 109(2):143-171.", "alvar communities_na"),
    ("Opler, P. A., and V. Malikul", 1992, "A field guide to eastern butterflies. Houghton Mifflin Company, Boston. 396 pp.", "lepidoptera"),
    ("Haddad, N. M., L. A. Brudvig, J. Clobert, et al.", 2015, "Habitat fragmentation and its lasting impact on Earth's ecosystems. Science Advances 1(2):e1500052.", "birds mammals reptiles communities_na"),
]

# Invented authors for the demonstration reports and papers below.
INVENTED_AUTHORS = [
    "Hartley, J. M.", "Okafor, N. C.", "Lindqvist, A.", "Brennan, K. P.", "Økland, T.", "Moreau, C.",
    "Szabó, É.", "Whitcombe, R. L.", "Nakagawa, Y.", "Delgado, M. I.", "Fairbanks, L. T.", "Sjögren, H.",
    "Prescott, D. W.", "Novák, J.", "Ashworth, G. E.", "Quintero, S.", "Lefèvre, A.", "Kowalczyk, M.",
    "Halvorsen, B.", "Tremblay, J.-F.", "Underhill, P. J.", "Müller, K.", "O'Rourke, S. M.", "Varga, Z.",
]
JOURNALS = {
    "Plant": ["Rhodora", "Castanea", "Journal of the Torrey Botanical Society", "Natural Areas Journal", "Northeastern Naturalist", "American Midland Naturalist"],
    "Animal": ["Southeastern Naturalist", "American Midland Naturalist", "Journal of Fish and Wildlife Management", "Northeastern Naturalist", "Herpetological Conservation and Biology", "Journal of the Lepidopterists' Society"],
    "Community": ["Natural Areas Journal", "Journal of Vegetation Science", "Applied Vegetation Science", "Restoration Ecology"],
}
INVENTED_TITLES = {
    "Plant": [
        "Distribution and status of {taxon} in the {region}",
        "A survey of {taxon} in the {region}, with notes on habitat",
        "Population trends of {taxon} in the {region}",
        "Management recommendations for {taxon} of the {region}",
    ],
    "Animal": [
        "Distribution and status of {taxon} in the {region}",
        "Population trends of {taxon} in the {region}",
        "Habitat use by {taxon} in the {region}",
        "Management recommendations for {taxon} of the {region}",
    ],
    "Community": [
        "Classification of {taxon} in the {region}",
        "Condition and extent of {taxon} in the {region}",
        "Vegetation change in {taxon} of the {region} over three decades",
    ],
}


def sql_literal(value):
    if value is None:
        return "NULL"
    if isinstance(value, int):
        return str(value)
    return "'" + str(value).replace("'", "''") + "'"


def insert_statements(table, columns, rows, chunk=100):
    """Multi-row INSERTs, one row a line; only the last line of each ends with ';'."""
    out = []
    for start in range(0, len(rows), chunk):
        part = rows[start:start + chunk]
        out.append(f"INSERT INTO {table} ({', '.join(columns)}) VALUES")
        for i, row in enumerate(part):
            end = ";" if i == len(part) - 1 else ","
            out.append("    (" + ", ".join(sql_literal(v) for v in row) + ")" + end)
    return out


def stamp(day, rng):
    moment = datetime.datetime.combine(day, datetime.time(rng.randint(7, 17), rng.randint(0, 59), rng.randint(0, 59)))
    return moment.strftime("%Y-%m-%d %H:%M:%S")


def random_day(rng, first_year, last_year):
    first = datetime.date(first_year, 1, 1).toordinal()
    last = datetime.date(last_year, 12, 31).toordinal()
    return datetime.date.fromordinal(rng.randint(first, last))


def ascii_fold(text):
    text = text.replace("Ø", "O").replace("ø", "o")
    return unicodedata.normalize("NFKD", text).encode("ascii", "ignore").decode("ascii")


def short_citation(authors, year):
    """"Surname year", "Surname and Surname year" or "Surname et al. year"."""
    first = authors.split(",")[0]
    if "et al." in authors or authors.count(",") > 3:
        return f"{first} et al. {year}"
    if " and " in authors:
        second = authors.split(" and ")[1].split(",")[0].strip().split()[-1]
        return f"{first} and {second} {year}"
    return f"{first} {year}"


def build_elements():
    """Answers element rows: dicts with id, scientific and common name, category and theme."""
    elements = []
    for theme in name_lists.THEMES:
        for sci, common, areas in name_lists.parse_elements(theme["elements"], theme.get("areas", "E")):
            elements.append(dict(id=len(elements) + 1, sci=sci, common=common, areas=areas,
                                 category=theme["category"], theme=theme["key"]))
    return elements


def build_references(rng):
    refs = []
    codes = set()

    def add(authors, year, rest, themes):
        base = ascii_fold(authors.split(",")[0]).upper().replace(" ", "").replace("'", "")[:6] + f"{year % 100:02d}"
        code, letter = base, ord("A")
        while code in codes:
            code = base + chr(letter)
            letter += 1
        codes.add(code)
        refs.append(dict(id=len(refs) + 1, code=code, short=short_citation(authors, year),
                         full=f"{authors.rstrip('.')}. {year}. {rest}", year=year, themes=themes.split()))

    for authors, year, rest, themes in REAL_REFERENCES:
        add(authors, year, rest, themes)
    themes = name_lists.THEMES
    while len(refs) < 120:
        theme = themes[len(refs) % len(themes)]
        count = rng.choice([1, 1, 2, 2, 3])
        names = rng.sample(INVENTED_AUTHORS, count)
        if count == 1:
            authors = names[0]
        elif count == 2:
            authors = f"{names[0]}, and {names[1].split(', ')[1]} {names[1].split(', ')[0]}"
        else:
            authors = f"{names[0]}, {names[1].split(', ')[1]} {names[1].split(', ')[0]}, and {names[2].split(', ')[1]} {names[2].split(', ')[0]}"
        year = rng.randint(1978, 2023)
        region = rng.choice(theme["regions"])
        title = rng.choice(INVENTED_TITLES[theme["category"]]).format(taxon=theme["taxon"], region=region)
        if rng.random() < 0.3:
            office = rng.choice(ORG_UNITS)[2]
            rest = f"{title}. Unpublished report to the {office}. {rng.randint(18, 160)} pp."
        else:
            journal = rng.choice(JOURNALS[theme["category"]])
            first_page = rng.randint(1, 600)
            rest = f"{title}. {journal} {rng.randint(4, 120)}:{first_page}-{first_page + rng.randint(6, 30)}."
        add(authors, year, rest, theme["key"])
    return refs


def build_groups(rng):
    """Answers the sample groups: theme, name, region and type, names unique without regard to case."""
    picked = []
    forced = {("mussels", "Freshwater Mussels of the {r}", "Ohio Basin"),
              ("orchids", "Lady's-slippers and Fringed Orchids of the {r}", "Bruce Peninsula"),
              ("alvar", "Alvar Plants of the {r}", "Stora Alvaret, Öland"),
              ("communities_eu", "Habitats of the {r}", "Camargue Étangs")}
    for theme in name_lists.THEMES:
        combos = [(theme["key"], n, r) for n in theme["names"] for r in theme["regions"]]
        rng.shuffle(combos)
        take = max(3, round(len(combos) * 0.45))
        chosen = [c for c in combos if c in forced] + [c for c in combos if c not in forced]
        picked.extend(chosen[:take])
    groups = []
    seen = set()
    themes = {t["key"]: t for t in name_lists.THEMES}
    for key, pattern, region in picked:
        name = pattern.format(r=region)
        if name.upper() in seen:
            continue
        seen.add(name.upper())
        theme = themes[key]
        groups.append(dict(theme=theme, name=name, region=region, type=rng.choice(theme["types"])))
    # A few groups that cut across themes.
    groups.append(dict(theme=themes["communities_na"], name="Alpine Plant Communities", region="Rocky Mountains and Northern Appalachians",
                       type="Habitat Association", members=["Dryas octopetala - Carex rupestris Herbaceous Vegetation",
                                                            "Kobresia myosuroides - Geum rossii Herbaceous Vegetation",
                                                            "Diapensia lapponica Dwarf-shrubland",
                                                            "Vaccinium uliginosum - Carex bigelowii Dwarf-shrubland"]))
    groups.append(dict(theme=themes["mammals"], name="Cave-hibernating Bats", region="Appalachian Karst",
                       type="Ecological Guild", members=["Myotis sodalis", "Myotis septentrionalis", "Myotis lucifugus",
                                                         "Myotis grisescens", "Perimyotis subflavus", "Corynorhinus townsendii virginianus"]))
    groups.append(dict(theme=themes["birds"], name="Species Awaiting Review", region="programme area",
                       type="Conservation Priority", members=[]))
    return groups


def build(out_path):
    rng = random.Random(SEED)
    elements = build_elements()
    by_sci = {e["sci"]: e for e in elements}
    elements_by_theme = {}
    for e in elements:
        elements_by_theme.setdefault(e["theme"], []).append(e)
    references = build_references(rng)
    refs_by_theme = {}
    for r in references:
        for t in r["themes"]:
            refs_by_theme.setdefault(t, []).append(r)
    type_ids = {desc: i + 1 for i, (desc, _) in enumerate(name_lists.GROUP_TYPES)}
    member_type_ids = {"Botanical": 1, "Zoological": 2, "Ecological": 3}

    lines = [
        "-- Sample data: element groups of plants, animals and ecological communities.",
        "-- Written by generate_sample.py; edit the lists there, not this file.",
        "-- Portable SQL for SQLite and PostgreSQL; load after the schema, then run",
        "-- data/schema/sync_ids.<engine>.sql. Statements end with ';' at a line end.",
        "",
    ]
    lines += insert_statements("org_unit", ["org_unit_id", "org_unit_code", "org_unit_name"], ORG_UNITS)
    lines += insert_statements("app_user", ["user_id", "user_name", "full_name", "org_unit_id", "is_active"],
                               [(u[0], u[1], u[2], u[3], "Y") for u in USERS])
    lines += insert_statements("user_access", ["user_id", "form_name", "control_name", "access_level"],
                               [(u[0], "*", "*", u[4]) for u in USERS])
    lines += insert_statements("d_element_group_type", ["d_element_group_type_id", "element_group_type_desc", "display_order"],
                               [(type_ids[d], d, order) for d, order in name_lists.GROUP_TYPES])

    lines += insert_statements("scientific_name", ["scientific_name_id", "scientific_name", "name_author"],
                               [(e["id"], e["sci"], None) for e in elements], chunk=200)
    element_rows = []
    for e in elements:
        created = random_day(rng, 1998, 2012)
        element_rows.append((e["id"], e["id"], e["common"], e["category"], None,
                             rng.choice(EDITORS), stamp(created, rng), rng.choice(EDITORS),
                             stamp(created + datetime.timedelta(days=rng.randint(1, 3000)), rng)))
    lines += insert_statements("element_global", ["element_global_id", "gname_id", "g_primary_common_name", "element_category",
                                                  "g_rank", "rec_create_user", "rec_create_date", "rec_last_mod_user",
                                                  "rec_last_mod_date"], element_rows, chunk=200)
    ref_rows = []
    for r in references:
        created = random_day(rng, max(r["year"], 1999), max(r["year"], 2015))
        ref_rows.append((r["id"], r["code"], r["short"], r["full"], r["year"], rng.choice(EDITORS), stamp(created, rng),
                         rng.choice(EDITORS), stamp(created + datetime.timedelta(days=rng.randint(1, 2000)), rng)))
    lines += insert_statements("reference", ["reference_id", "reference_code", "short_citation", "full_citation", "pub_year",
                                             "rec_create_user", "rec_create_date", "rec_last_mod_user", "rec_last_mod_date"],
                               ref_rows)

    groups = build_groups(rng)
    group_rows, member_rows, cite_rows = [], [], []
    audit_rows, audit_column_rows = [], []

    def audit(record_id, table, key, action, user, when, org, columns=()):
        audit_id = len(audit_rows) + 1
        audit_rows.append((audit_id, "ELEMENT_GROUP", record_id, table, key, action, user, when, org))
        for column, old, new, comment in columns:
            audit_column_rows.append((len(audit_column_rows) + 1, audit_id, column, old, new, comment))

    for gid, g in enumerate(groups, start=1):
        theme = g["theme"]
        area = name_lists.region_area(g["region"])
        pool = [e for e in elements_by_theme[theme["key"]] if area in e["areas"]] or elements_by_theme[theme["key"]]
        if "members" in g:
            members = [by_sci[s] for s in g["members"]]
        elif gid % 37 == 0:
            members = []
        else:
            members = rng.sample(pool, rng.randint(min(4, len(pool)), min(14, len(pool))))
        cite_pool = refs_by_theme.get(theme["key"], [])
        cites = [] if gid % 11 == 0 or not cite_pool else rng.sample(cite_pool, rng.randint(1, min(5, len(cite_pool))))
        org = THEME_ORG_UNIT.get(theme["key"], rng.choice([1, 2, 3, 4]))
        creator = rng.choice(EDITORS)
        created_day = random_day(rng, 2003, 2016)
        created = stamp(created_day, rng)
        desc = (f"{theme['taxon'][0].upper()}{theme['taxon'][1:]} of the {g['region']}, "
                f"brought together for {PURPOSE[g['type']]}.")
        texts = dict(
            range_com=f"Occurrences span the {g['region']}; several members reach the edge of their range here.",
            habitat_com=f"Members occupy {theme['habitat']}.",
            ecology_com=rng.choice(ECOLOGY[theme["category"]]),
            threat_com=f"Main threats: {theme['threat']}.",
            status_com=None if not members else (f"Of the {len(members)} members, {rng.randint(0, len(members))} have a status assessment "
                        f"newer than ten years; the rest were last reviewed in {rng.randint(1996, 2012)}."),
            trend_com=theme["trend"],
        )
        for column in list(texts):
            if rng.random() < 0.15:
                texts[column] = None
        audit(gid, "ELEMENT_GROUP", str(gid), "I", creator, created, org)
        last_user, last_day, last_stamp = creator, created_day, created
        if gid % 3 == 0:
            # Some history: a rename, a retyped group, a revised threat text.
            changes = []
            when_day = created_day + datetime.timedelta(days=rng.randint(30, 900))
            editor = rng.choice(EDITORS)
            kind = gid % 4
            if kind == 0:
                old_name = g["name"].replace(" of the ", " in the ", 1)
                changes.append(("element_group_name", old_name, g["name"], "Renamed to follow the regional naming standard."))
            elif kind == 1:
                old_type = name_lists.GROUP_TYPES[(type_ids[g["type"]]) % len(name_lists.GROUP_TYPES)][0]
                changes.append(("d_element_group_type_id", str(type_ids[old_type]), str(type_ids[g["type"]]), None))
            elif kind == 2 and texts["threat_com"]:
                changes.append(("threat_com", "Threats not yet assessed.", texts["threat_com"],
                                "Threat text revised after the field season."))
            else:
                changes.append(("element_group_desc", f"{theme['taxon'].capitalize()} of the {g['region']}.", desc, None))
            last_user, last_day, last_stamp = editor, when_day, stamp(when_day, rng)
            audit(gid, "ELEMENT_GROUP", str(gid), "U", editor, last_stamp, org, changes)
        for order, e in enumerate(members, start=1):
            member_rows.append((gid, e["id"], order, creator, created, creator, created))
            if gid % 5 == 0 and order <= 2:
                audit(gid, "ELEMENT_GROUP_MEMBERSHIP", f"{gid},{e['id']}", "I", creator, created, org)
        if gid % 10 == 0 and members:
            gone = rng.choice([e for e in pool + elements_by_theme[theme["key"]] if e not in members])
            when_day = last_day + datetime.timedelta(days=rng.randint(10, 400))
            last_day, last_stamp = when_day, stamp(when_day, rng)
            audit(gid, "ELEMENT_GROUP_MEMBERSHIP", f"{gid},{gone['id']}", "D", last_user, last_stamp, org,
                  [("element_global_id", str(gone["id"]), None, "Removed: not recorded in the region since 1980.")])
        for order, r in enumerate(cites, start=1):
            cite_rows.append((gid, r["id"], order, creator, created, creator, created))
        group_rows.append((gid, g["name"], type_ids[g["type"]], member_type_ids[theme["member"]], desc,
                           texts["range_com"], texts["habitat_com"], texts["ecology_com"], texts["threat_com"],
                           texts["status_com"], texts["trend_com"], org, f"ELGRP{gid:05d}",
                           creator, created, last_user, last_stamp))

    # The trail of a group deleted long ago stays readable.
    deleted_id = 9001
    audit(deleted_id, "ELEMENT_GROUP", str(deleted_id), "I", "mhollis", "2004-05-11 09:12:40", 2)
    audit(deleted_id, "ELEMENT_GROUP", str(deleted_id), "D", "ecarter", "2011-02-23 15:47:05", 2,
          [("element_group_name", "Unionids of the Big Sandy River", None, "Merged into the Ohio Basin mussel group.")])

    lines += insert_statements("element_group", ["element_group_id", "element_group_name", "d_element_group_type_id",
                                                 "d_group_member_type_id", "element_group_desc", "range_com", "habitat_com",
                                                 "ecology_com", "threat_com", "status_com", "trend_com", "org_unit_id",
                                                 "universal_key", "rec_create_user", "rec_create_date", "rec_last_mod_user",
                                                 "rec_last_mod_date"], group_rows, chunk=50)
    lines += insert_statements("element_group_membership", ["element_group_id", "element_global_id", "display_order",
                                                            "rec_create_user", "rec_create_date", "rec_last_mod_user",
                                                            "rec_last_mod_date"], member_rows, chunk=200)
    lines += insert_statements("element_group_reference", ["element_group_id", "reference_id", "display_order",
                                                           "rec_create_user", "rec_create_date", "rec_last_mod_user",
                                                           "rec_last_mod_date"], cite_rows, chunk=200)
    lines += insert_statements("audit_log", ["audit_log_id", "record_table", "record_id", "table_name", "primary_key",
                                             "action", "user_name", "change_date", "org_unit_id"], audit_rows, chunk=200)
    lines += insert_statements("audit_log_column", ["audit_log_column_id", "audit_log_id", "column_name", "old_value",
                                                    "new_value", "comments"], audit_column_rows, chunk=200)

    props = ('<TALV><SEARCH_PROPERTIES control="TALV_ELGroup.ELGroupSearch">'
             '<SAVE_SETTINGS_AS_DEFAULT>1</SAVE_SETTINGS_AS_DEFAULT></SEARCH_PROPERTIES></TALV>')

    def state(inner):
        return f'<TALV><SEARCH_STATE control="TALV_ELGroup.ELGroupSearch">{inner}</SEARCH_STATE></TALV>'

    options = [
        (1, 1, 1, "TALV_ELGroup.ELGroupSearch", props),
        (2, 2, 1, "TALV_ELGroup.ELGroupSearch", state("<ELEMENT_GROUP_TYPE>Taxonomic Group</ELEMENT_GROUP_TYPE>")),
        (3, 3, 1, "Ohio mussels", state('<ELEMENT_GROUP_NAME comparison="0">Ohio Basin</ELEMENT_GROUP_NAME>')),
        (4, 3, 1, "Carter's alpine groups", state('<ELEMENT_GROUP_NAME comparison="2">Alpine</ELEMENT_GROUP_NAME>')),
        (5, 3, 2, "Öland alvar", state('<ELEMENT_GROUP_NAME comparison="0">Öland</ELEMENT_GROUP_NAME>')),
    ]
    lines += insert_statements("user_option", ["user_option_id", "user_option_category_id", "user_id", "option_name",
                                               "option_value", "rec_create_date", "rec_last_mod_date"],
                               [o + ("2024-03-01 10:00:00", "2024-03-01 10:00:00") for o in options])
    text = "\n".join(lines) + "\n"
    with open(out_path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return len(groups), len(elements), len(references), len(member_rows), len(cite_rows), len(audit_rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-o", "--output", default=os.path.join(here, "sample.sql"))
    args = parser.parse_args()
    counts = build(args.output)
    print("groups %d, elements %d, references %d, memberships %d, citations %d, audit rows %d" % counts)


if __name__ == "__main__":
    main()
