#!/usr/bin/env python3
"""Loads schema and sample data into a fresh database and checks them.

    python3 data/tools/check_sample.py                      # SQLite, temporary file
    python3 data/tools/check_sample.py --keep /tmp/s.db     # keep the SQLite file
    python3 data/tools/check_sample.py --postgresql="-h /tmp/pgsock -U postgres"

With --postgresql the same checks also run on PostgreSQL through psql, in a
database named elgroup_check that is created and dropped again.

What is checked: the files split into statements and load without error; the
foreign keys hold; the sample has the promised size and shape; every SQL text
the screens send runs and answers the rows a user would expect (the host's
one rewrite, SELECT UNIQUE to SELECT DISTINCT, applied); the working-list
views answer under all the names the screens use; the constraints refuse what
they are there to refuse; the id sequences stand past the loaded ids.
Exit status 0 when every check passed.
"""

import argparse
import csv
import io
import os
import shlex
import sqlite3
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)
sys.path.insert(0, HERE)
from sqlscript import read_statements  # noqa: E402


class SqliteDb:
    name = "sqlite"

    def __init__(self, path):
        if os.path.exists(path):
            os.remove(path)
        self.con = sqlite3.connect(path, isolation_level=None)
        # The host registers a Unicode-aware UPPER; do the same so that the
        # checks see what its users see.
        self.con.create_function("upper", 1, lambda s: None if s is None else str(s).upper(), deterministic=True)
        self.con.execute("PRAGMA foreign_keys = ON")

    def load(self, path):
        self.con.execute("BEGIN")
        for statement in read_statements(path):
            self.con.execute(statement)
        self.con.execute("COMMIT")

    def query(self, sql):
        cur = self.con.execute(sql)
        columns = [d[0] for d in cur.description]
        return columns, [["" if v is None else str(v) for v in row] for row in cur.fetchall()]

    def in_rollback(self, statements):
        """Runs statements in a transaction that is rolled back; answers the last one's rows."""
        self.con.execute("BEGIN")
        try:
            result = None
            for statement in statements:
                cur = self.con.execute(statement)
                if cur.description:
                    result = ([d[0] for d in cur.description],
                              [["" if v is None else str(v) for v in row] for row in cur.fetchall()])
            return result
        finally:
            self.con.execute("ROLLBACK")

    def close(self):
        self.con.close()


class PostgresDb:
    name = "postgresql"
    database = "elgroup_check"

    def __init__(self, options):
        self.base = ["psql", "-X", "-q", "-v", "ON_ERROR_STOP=1"] + shlex.split(options)
        self._psql(["-d", "postgres", "-c", f"DROP DATABASE IF EXISTS {self.database}",
                    "-c", f"CREATE DATABASE {self.database} ENCODING 'UTF8' TEMPLATE template0"])

    def _psql(self, args, csv_out=False):
        cmd = self.base + (["--csv"] if csv_out else []) + args
        env = dict(os.environ, PGCLIENTENCODING="UTF8")
        done = subprocess.run(cmd, capture_output=True, text=True, encoding="utf-8", env=env)
        if done.returncode != 0:
            raise RuntimeError(done.stderr.strip())
        return done.stdout

    def load(self, path):
        self._psql(["-d", self.database, "-1", "-f", path])

    def query(self, sql):
        rows = list(csv.reader(io.StringIO(self._psql(["-d", self.database, "-c", sql], csv_out=True))))
        return rows[0], rows[1:]

    def in_rollback(self, statements):
        args = ["-d", self.database, "-c", "BEGIN"]
        for statement in statements:
            args += ["-c", statement]
        args += ["-c", "ROLLBACK"]
        out = self._psql(args, csv_out=True)
        rows = list(csv.reader(io.StringIO(out)))
        return (rows[0], rows[1:]) if rows else None

    def close(self):
        self._psql(["-d", "postgres", "-c", f"DROP DATABASE IF EXISTS {self.database}"])


# The SQL texts of the screens, built the way the screens build them.

def host(sql):
    """The host's only dialect adaptation."""
    return sql.replace("SELECT UNIQUE", "SELECT DISTINCT")


def search_sql(where):
    head = ("SELECT UNIQUE element_group.element_group_id as ID, "
            "element_group.element_group_name as Group_Name, "
            "d_element_group_type.element_group_type_desc as Group_Type ")
    if where:
        return (head + "FROM element_group, d_element_group_type WHERE element_group.d_element_group_type_id = "
                "d_element_group_type.d_element_group_type_id AND" + "(" + where + ")" + " order by element_group_id")
    return (head + "FROM element_group, d_element_group_type "
            "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
            "ORDER BY element_group_id")


def name_criterion(text, mode):
    v = text.replace("'", "''").upper()
    f = "element_group.element_group_name"
    return ["UPPER(" + f + ") LIKE '%" + v + "%'", "UPPER(" + f + ") = '" + v + "'",
            "UPPER(" + f + ") LIKE '" + v + "%'", "UPPER(" + f + ") LIKE '%" + v + "'",
            "UPPER(" + f + ") LIKE '" + v + "'"][mode]


def new_row_sql(group_id):
    return ("SELECT UNIQUE element_group.element_group_id as ID, "
            "element_group.element_group_name as Group_Name, d_element_group_type.element_group_type_desc as Group_Type  "
            "FROM element_group, d_element_group_type "
            "WHERE element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
            "AND element_group.element_group_id = " + str(group_id) + " "
            "ORDER BY element_group.element_group_id")


def unique_name_sql(name, group_id):
    return ("SELECT ELEMENT_GROUP_ID FROM ELEMENT_GROUP WHERE Upper(ELEMENT_GROUP_NAME) = '"
            + name.upper().replace("'", "''") + "' AND NOT ELEMENT_GROUP_ID = " + str(group_id))


def element_groups_sql(element_id):
    return ("SELECT element_group_membership.element_group_id as ID, "
            "element_group.element_group_name as GroupName, "
            "d_element_group_type.element_group_type_desc as GroupType "
            "FROM element_group_membership, element_group, d_element_group_type "
            "WHERE element_group_membership.element_group_id = element_group.element_group_id "
            "AND element_group.d_element_group_type_id = d_element_group_type.d_element_group_type_id "
            "AND element_group_membership.element_global_id = " + str(element_id))


def members_sql(group_id):
    return ("SELECT element_group_membership.element_global_id as ID, "
            "element_group_membership.element_group_id, "
            "element_global.element_global_id, scientific_name.scientific_name as GName, "
            "element_global.g_primary_common_name as ComName "
            "FROM element_global, element_group_membership, scientific_name "
            "WHERE element_group_membership.element_group_id = " + str(group_id) + " AND "
            "element_group_membership.element_global_id = element_global.element_global_id "
            "AND element_global.gname_id = scientific_name.scientific_name_id "
            "ORDER BY element_group_membership.display_order")


def references_sql(group_id):
    return ("SELECT element_group_reference.reference_id, reference.reference_code, reference.full_citation "
            "FROM reference, element_group_reference "
            "WHERE element_group_reference.element_group_id = " + str(group_id) + " AND "
            "reference.reference_id = element_group_reference.reference_id "
            "ORDER BY element_group_reference.display_order, reference.reference_code")


def system_control_sql(screen):
    return ("SELECT  SYSTEM_CONTROL.CONTROL_NAME ,SYSTEM_CONTROL.IS_RICH_TEXT, SYSTEM_CONTROL.MAX_WIDTH"
            " FROM SYSTEM_CONTROL"
            " WHERE (SYSTEM_CONTROL.CONTROL_TYPE = 'TextBox'"
            " OR SYSTEM_CONTROL.CONTROL_TYPE = 'RichTextControl')"
            " AND SYSTEM_CONTROL.FORM_NAME = '" + screen + "'")


def record_exists_sql(value):
    return "Select * from element_group where element_group_id = " + str(value)


TEXT_FIELDS = {"ctrGroupName", "ctrGroupDescription", "ctrEMGRange", "ctrEMGHabitat", "ctrEMGEcology",
               "ctrThreat", "ctrEMGStatus", "ctrEMGTrend"}
AUDIT_COLUMNS = ["ID", "CHANGE_DATE", "USER_NAME", "TABLE_NAME", "ACTION", "COLUMN_NAME", "OLD_VALUE",
                 "COMMENTS", "PRIMARY_KEY", "ORG_UNIT_ID", "RECORD_ID", "AUDIT_LOG_COLUMN_ID"]


class Checker:
    def __init__(self, db):
        self.db = db
        self.failures = []
        self.passed = 0

    def expect(self, condition, label):
        if condition:
            self.passed += 1
        else:
            self.failures.append(label)

    def rows(self, sql):
        return self.db.query(sql)[1]

    def scalar(self, sql):
        return self.rows(sql)[0][0]

    def refused(self, statements):
        try:
            self.db.in_rollback(statements)
        except Exception:  # noqa: BLE001 - any refusal will do
            return True
        return False

    def same_columns(self, columns, expected):
        if [c.upper() for c in columns] != [c.upper() for c in expected]:
            return False
        # SQLite keeps the declared letter case; PostgreSQL folds unquoted names.
        return columns == expected if self.db.name == "sqlite" else columns == [c.lower() for c in expected]


def check_shape(c):
    counts = {t: int(c.scalar(f"SELECT count(*) FROM {t}")) for t in
              ["element_group", "element_global", "scientific_name", "reference", "element_group_membership",
               "element_group_reference", "audit_log", "audit_log_column", "org_unit", "app_user"]}
    c.expect(counts["element_group"] >= 150, f"at least 150 groups ({counts['element_group']})")
    c.expect(counts["element_global"] >= 600, f"at least 600 elements ({counts['element_global']})")
    c.expect(counts["reference"] >= 120, f"at least 120 references ({counts['reference']})")
    c.expect(counts["app_user"] == 2, "two users")
    c.expect(int(c.scalar("SELECT count(DISTINCT d_element_group_type_id) FROM element_group")) >= 5,
             "groups spread over several types")
    c.expect(c.rows("SELECT group_member_type_desc FROM d_group_member_type ORDER BY display_order")
             == [["Botanical"], ["Zoological"], ["Ecological"]], "member types Botanical, Zoological, Ecological")
    c.expect(c.rows("SELECT category_name FROM user_option_category ORDER BY user_option_category_id")
             == [["$DEFAULT_FIND_PROPERTIES"], ["$DEFAULT_FIND_CRITERIA"], ["$USER_FIND_ELEMENT_GROUP"]],
             "the three option categories")
    c.expect(int(c.scalar("SELECT count(DISTINCT element_category) FROM element_global")) == 3,
             "plants, animals and communities among the elements")
    c.expect(int(c.scalar("SELECT count(*) FROM element_global WHERE g_primary_common_name LIKE '%''%'")) > 0,
             "common names with apostrophes")
    c.expect(int(c.scalar("SELECT count(*) FROM element_global WHERE g_primary_common_name IS NULL")) > 0,
             "some elements without a common name")
    for table in ("element_group_membership", "element_group_reference"):
        gaps = c.rows(f"SELECT element_group_id FROM {table} GROUP BY element_group_id "
                      f"HAVING min(display_order) <> 1 OR max(display_order) <> count(*) "
                      f"OR count(DISTINCT display_order) <> count(*)")
        c.expect(not gaps, f"{table}: display_order runs 1..n in every group")
    c.expect(int(c.scalar("SELECT count(*) FROM element_group WHERE rec_last_mod_date < rec_create_date")) == 0,
             "no group modified before it was created")
    c.expect(int(c.scalar("SELECT count(*) FROM element_group g WHERE NOT EXISTS "
                          "(SELECT 1 FROM element_group_membership m WHERE m.element_group_id = g.element_group_id)")) > 0,
             "some groups without members")
    if c.db.name == "sqlite":
        c.expect(c.rows("PRAGMA foreign_key_check") == [], "foreign keys hold")
        c.expect(c.rows("PRAGMA integrity_check") == [["ok"]], "integrity check")
    c.expect(c.rows("SELECT max(version) FROM schema_version") == [["2"]], "schema version 2")
    c.expect(int(c.scalar("SELECT count(*) FROM d_element_group_type")) >= 5, "group types to pick from")
    c.expect(int(c.scalar("SELECT count(*) FROM element_group g WHERE NOT EXISTS (SELECT 1 FROM d_element_group_type t "
                          "WHERE t.d_element_group_type_id = g.d_element_group_type_id) OR NOT EXISTS "
                          "(SELECT 1 FROM d_group_member_type m "
                          "WHERE m.d_group_member_type_id = g.d_group_member_type_id)")) == 0,
             "every group's type and member type has its lookup row")
    c.expect(int(c.scalar("SELECT count(*) FROM d_element_group_type "
                          "WHERE element_group_type_desc LIKE '%''%'")) == 0,
             "no group type description holds an apostrophe")
    c.expect(int(c.scalar("SELECT count(*) FROM element_group WHERE version <> 1")) == 0, "every group at version 1")


def check_search(c):
    types = c.rows("SELECT * FROM d_element_group_type ORDER BY display_order")
    c.expect(len(types) == 8 and [t[1] for t in types] == sorted(t[1] for t in types),
             "group type list in display order (alphabetical, unlike the ids)")

    columns, rows = c.db.query("select * from ELGroup_WL_VW where 1=0")
    c.expect(rows == [] and c.same_columns(columns, ["ID", "Group_Name", "Group_Type"]),
             f"ELGroup_WL_VW layout ID, Group_Name, Group_Type ({columns})")
    columns, rows = c.db.query("Select * from ELGROUP_WL_VW WHERE 1=0")
    c.expect(rows == [] and c.same_columns(columns, ["ID", "Group_Name", "Group_Type"]), "ELGROUP_WL_VW layout")

    all_groups = c.rows(host(search_sql("")))
    total = int(c.scalar("SELECT count(*) FROM element_group"))
    c.expect(len(all_groups) == total, "search without criteria answers every group")
    c.expect([int(r[0]) for r in all_groups] == sorted(int(r[0]) for r in all_groups), "search ordered by id")

    def search(text, mode, type_text=""):
        where = name_criterion(text, mode) if text.strip() else ""
        if type_text:
            where += (" AND " if where else "") + "d_element_group_type.element_group_type_desc = '" + type_text + "'"
        return c.rows(host(search_sql(where)))

    ohio = "Freshwater Mussels of the Ohio Basin"
    c.expect(len(search("mussel", 0)) >= 3, "Contains 'mussel' finds the mussel groups")
    found = search(ohio.lower(), 1)
    c.expect(len(found) == 1 and found[0][1] == ohio, "Exact Match is case-insensitive")
    c.expect(all(r[1].upper().startswith("ALPINE") for r in search("Alpine", 2)) and search("Alpine", 2),
             "Begins with 'Alpine'")
    ends = search("ohio basin", 3)
    c.expect(ohio in [r[1] for r in ends] and all(r[1].endswith("Ohio Basin") for r in ends), "Ends with 'ohio basin'")
    c.expect(any(r[1] == ohio for r in search("freshwater%ohio%", 4)), "Wildcard with the user's %")
    slippers = search("lady's-slippers", 0)
    c.expect(slippers and all("Lady's-slippers" in r[1] for r in slippers), "a name with an apostrophe is found")
    c.expect(search("o'neil", 2, "T1") == [], "the o'neil example runs and finds nothing")
    c.expect(len(search("öland", 0)) >= 1, "Contains 'öland' finds the Öland group (Unicode UPPER)")
    c.expect(len(search("étangs", 0)) >= 1, "Contains 'étangs' finds the Camargue group")
    by_type = search("", 0, "Regulatory List")
    c.expect(by_type and all(r[2] == "Regulatory List" for r in by_type), "type only")
    both = search("of the", 0, "Monitoring Program")
    c.expect(both and all(r[2] == "Monitoring Program" for r in both), "name and type together")
    some_id = all_groups[10][0]
    by_id = c.rows(host(search_sql("element_group.element_group_id = " + " " + some_id + " ")))
    c.expect(len(by_id) == 1 and by_id[0][0] == some_id, "id typed with blanks around it")

    new_row = c.rows(host(new_row_sql(some_id)))
    c.expect(len(new_row) == 1 and new_row[0][0] == some_id, "new-row query answers one row")

    ohio_id = found[0][0]
    other_id = all_groups[0][0] if all_groups[0][0] != ohio_id else all_groups[1][0]
    c.expect(len(c.rows(unique_name_sql(ohio.upper(), other_id))) == 1, "name taken by another group")
    c.expect(c.rows(unique_name_sql(ohio.lower(), ohio_id)) == [], "own name does not count as taken")
    c.expect(len(c.rows(unique_name_sql("Lady's-slippers and Fringed Orchids of the Bruce Peninsula", -1))) == 1,
             "uniqueness query with a doubled quote")
    c.expect(len(c.rows(unique_name_sql("alvar plants of the stora alvaret, öland", -1))) == 1,
             "uniqueness query with an accented name in other case")


def check_details(c):
    element_id, group_count = c.rows("SELECT element_global_id, count(*) FROM element_group_membership "
                                     "GROUP BY element_global_id ORDER BY 2 DESC, 1 LIMIT 1")[0]
    columns, rows = c.db.query(element_groups_sql(element_id))
    c.expect(len(rows) == int(group_count) and [x.upper() for x in columns] == ["ID", "GROUPNAME", "GROUPTYPE"],
             "groups of an element")

    group_id = c.scalar("SELECT element_group_id FROM element_group_membership GROUP BY element_group_id "
                        "ORDER BY count(*) DESC, element_group_id LIMIT 1")
    columns, rows = c.db.query(members_sql(group_id))
    stored = c.rows(f"SELECT element_global_id FROM element_group_membership WHERE element_group_id = {group_id} "
                    "ORDER BY display_order")
    c.expect([r[0] for r in rows] == [s[0] for s in stored] and len(rows) > 3, "members in display order")
    c.expect([x.upper() for x in columns] == ["ID", "ELEMENT_GROUP_ID", "ELEMENT_GLOBAL_ID", "GNAME", "COMNAME"],
             f"members query fields ({columns})")
    null_member = c.rows("SELECT m.element_group_id FROM element_group_membership m JOIN element_global e "
                         "ON e.element_global_id = m.element_global_id WHERE e.g_primary_common_name IS NULL LIMIT 1")
    c.expect(bool(null_member), "a group shows a member without a common name")

    cited = c.scalar("SELECT element_group_id FROM element_group_reference GROUP BY element_group_id "
                     "ORDER BY count(*) DESC, element_group_id LIMIT 1")
    columns, rows = c.db.query(references_sql(cited))
    c.expect(len(rows) >= 2 and [x.upper() for x in columns] == ["REFERENCE_ID", "REFERENCE_CODE", "FULL_CITATION"],
             "references of a group")
    columns, rows = c.db.query("select * from REFERENCE_WL_VW WHERE 1=0")
    c.expect(rows == [] and {"ID", "REFERENCE_CODE", "FULL_CITATION"} <= {x.upper() for x in columns},
             "REFERENCE_WL_VW layout")
    columns, rows = c.db.query("SELECT * FROM ELEMENT_WL_VW WHERE 1=0")
    c.expect(rows == [] and {"ID", "SCIENTIFIC_NAME", "COMMON_NAME"} <= {x.upper() for x in columns},
             "element list layout (view ELE)")

    c.expect(len(c.rows(f"select * from ELEMENT_GROUP_WL_VW WHERE ID={group_id}")) == 1,
             "ELEMENT_GROUP_WL_VW finds an existing group")
    c.expect(c.rows("select * from ELEMENT_GROUP_WL_VW WHERE ID=9001") == [], "... and not a deleted one")
    c.expect(len(c.rows(record_exists_sql(group_id))) == 1, "record exists")
    c.expect(c.rows(record_exists_sql(-1)) == [], "record -1 does not")

    for screen in ("TALV_ELGroup.ELGroupDetails", "ELGroupDetails"):
        rows = c.rows(system_control_sql(screen))
        c.expect({r[0] for r in rows} == TEXT_FIELDS and len(rows) == 8, f"text field configuration for {screen}")
        c.expect(all(int(r[2]) > 0 for r in rows), f"every text field of {screen} has a maximum length")
        c.expect({r[1] for r in rows} == {"Y", "N"}, f"rich and plain text fields for {screen}")
    c.expect(c.rows(system_control_sql("NoSuchScreen")) == [], "other screens get no rows")

    units = c.db.query("select * from org_unit")
    c.expect({"ORG_UNIT_ID", "ORG_UNIT_NAME"} <= {x.upper() for x in units[0]} and len(units[1]) == 5,
             "organisation units for the audit grid")


def check_audit_and_options(c):
    columns, _ = c.db.query("SELECT * FROM AUDIT_TRAIL_VW WHERE 1=0")
    c.expect([x.upper() for x in columns[:12]] == AUDIT_COLUMNS, "audit view in the grid's column order")
    renamed = c.scalar("SELECT a.record_id FROM audit_log a JOIN audit_log_column ac ON ac.audit_log_id = a.audit_log_id "
                       "WHERE ac.column_name = 'element_group_name' AND a.record_table = 'ELEMENT_GROUP' "
                       "AND a.action = 'U' ORDER BY a.record_id LIMIT 1")
    select = ", ".join(AUDIT_COLUMNS)
    trail = c.rows(f"SELECT {select} FROM AUDIT_TRAIL_VW WHERE RECORD_TABLE = 'ELEMENT_GROUP' "
                   f"AND RECORD_ID = {renamed} ORDER BY CHANGE_DATE, ID")
    c.expect(len(trail) >= 2 and trail[0][4] == "I" and trail[0][11] == "", "record trail starts with the insert, "
             "which carries no comment")
    one_column = c.rows(f"SELECT {select} FROM AUDIT_TRAIL_VW WHERE RECORD_TABLE = 'ELEMENT_GROUP' "
                        f"AND RECORD_ID = {renamed} AND COLUMN_NAME = 'element_group_name'")
    c.expect(len(one_column) == 1 and one_column[0][11] != "", "attribute trail of one column")
    c.expect(len(c.rows("SELECT * FROM AUDIT_TRAIL_VW WHERE RECORD_ID = 9001")) == 2, "trail of a deleted group")

    option = c.rows("SELECT o.option_value FROM user_option o JOIN user_option_category k "
                    "ON k.user_option_category_id = o.user_option_category_id "
                    "WHERE k.category_name = '$USER_FIND_ELEMENT_GROUP' AND o.option_name = 'Carter''s alpine groups' "
                    "AND o.user_id = 1")
    c.expect(len(option) == 1 and 'control="TALV_ELGroup.ELGroupSearch"' in option[0][0], "saved search by name")
    access = c.rows("SELECT u.user_name, a.access_level FROM user_access a JOIN app_user u ON u.user_id = a.user_id "
                    "WHERE a.form_name = '*' AND a.control_name = '*' ORDER BY u.user_id")
    c.expect(access == [["ecarter", "F"], ["jbrandt", "R"]], "one full and one read-only user")


def check_invariants(c):
    gid = c.scalar("SELECT min(element_group_id) FROM element_group_membership")
    name = c.scalar(f"SELECT element_group_name FROM element_group WHERE element_group_id = {gid}")
    columns = ("element_group_id, element_group_name, d_element_group_type_id, d_group_member_type_id, org_unit_id, "
               "universal_key, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date")

    def new_group(new_name, org="1", key="ELGRPX"):
        return (f"INSERT INTO element_group ({columns}) VALUES (99999, '{new_name.replace(chr(39), chr(39) * 2)}', "
                f"1, 1, {org}, '{key}', 'test', '2024-01-01 00:00:00', 'test', '2024-01-01 00:00:00')")

    c.expect(c.db.in_rollback([new_group("A Brand New Group"), "SELECT count(*) FROM element_group "
                               "WHERE element_group_id = 99999"])[1] == [["1"]], "a valid group can be inserted")
    c.expect(c.refused([new_group(name.lower())]), "a name in other letter case is refused")
    c.expect(c.refused([new_group("   ")]), "a blank name is refused")
    org, key = c.rows(f"SELECT org_unit_id, universal_key FROM element_group WHERE element_group_id = {gid}")[0]
    c.expect(c.refused([new_group("Another Group", org, key)]), "a universal key is unique within its unit")
    c.expect(c.refused([f"UPDATE element_group_membership SET display_order = 0 WHERE element_group_id = {gid}"]),
             "display order 0 is refused")
    c.expect(c.refused([f"INSERT INTO element_group_membership (element_group_id, element_global_id, display_order) "
                        f"VALUES ({gid}, 987654, 99)"]), "a member that is no element is refused")
    member = c.scalar(f"SELECT min(element_global_id) FROM element_group_membership WHERE element_group_id = {gid}")
    c.expect(c.refused([f"DELETE FROM element_global WHERE element_global_id = {member}"]),
             "an element still in a group cannot be deleted")
    c.expect(c.refused(["DELETE FROM d_element_group_type WHERE d_element_group_type_id = "
                        f"(SELECT d_element_group_type_id FROM element_group WHERE element_group_id = {gid})"]),
             "a group type in use cannot be deleted")
    c.expect(c.refused([f"UPDATE element_group SET d_group_member_type_id = 4 WHERE element_group_id = {gid}"]),
             "an unknown member type is refused")
    after = c.db.in_rollback([
        f"DELETE FROM element_group WHERE element_group_id = {gid}",
        f"SELECT (SELECT count(*) FROM element_group_membership WHERE element_group_id = {gid}) AS members, "
        f"(SELECT count(*) FROM element_group_reference WHERE element_group_id = {gid}) AS cites, "
        f"(SELECT count(*) FROM audit_log WHERE record_id = {gid}) AS trail"])[1][0]
    c.expect(after[0] == "0" and after[1] == "0" and int(after[2]) > 0,
             "deleting a group removes its members and citations and keeps its trail")
    c.expect(c.refused(["INSERT INTO d_element_group_type (d_element_group_type_id, element_group_type_desc, "
                        "display_order) VALUES (99, 'Farmer''s Fields', 99)"]),
             "a group type description with an apostrophe is refused")
    c.expect(c.refused([f"UPDATE element_group SET version = 0 WHERE element_group_id = {gid}"]),
             "a group version below 1 is refused")
    c.expect(c.refused(["INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, action, "
                        "user_name, change_date) VALUES (99999, 'ELEMENT_GROUP', 1, 'ELEMENT_GROUP', '1', 'X', 'test', "
                        "'2024-01-01 00:00:00')"]), "an unknown audit action is refused")
    if c.db.name == "sqlite":
        c.expect(c.refused([f"UPDATE element_group SET rec_create_date = '2001/01/01' WHERE element_group_id = {gid}"]),
                 "a date that does not sort as a date is refused")
        next_id = c.db.in_rollback(["UPDATE id_sequence SET next_value = next_value + 1 "
                                    "WHERE sequence_name = 'element_group_seq' RETURNING next_value - 1"])[1][0][0]
    else:
        state = c.rows("SELECT last_value, is_called FROM element_group_seq")[0]
        next_id = state[0] if state[1] == "f" else str(int(state[0]) + 1)
        c.expect(c.refused([new_group(c.scalar("SELECT upper(element_group_name) FROM element_group "
                                               "WHERE element_group_name LIKE '%Öland%'"))]),
                 "an accented name in other case is refused")
    c.expect(int(next_id) == int(c.scalar("SELECT max(element_group_id) FROM element_group")) + 1,
             f"the next group id follows the loaded ones ({next_id})")


def run(db):
    schema = os.path.join(DATA, "schema", f"{db.name}.sql")
    for path in (schema, os.path.join(DATA, "sample", "sample.sql"), os.path.join(DATA, "schema", f"sync_ids.{db.name}.sql")):
        db.load(path)
    checker = Checker(db)
    for check in (check_shape, check_search, check_details, check_audit_and_options, check_invariants):
        try:
            check(checker)
        except Exception as error:  # noqa: BLE001 - report and go on with the next group of checks
            checker.failures.append(f"{check.__name__} stopped: {error}")
    print(f"{db.name}: {checker.passed} checks passed, {len(checker.failures)} failed")
    for failure in checker.failures:
        print(f"  FAILED: {failure}")
    return not checker.failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--keep", metavar="FILE", help="build the SQLite database in FILE and keep it")
    parser.add_argument("--postgresql", metavar="PSQL_OPTIONS",
                        help='also check on PostgreSQL with these psql options, e.g. --postgresql="-h /tmp/pgsock -U postgres"')
    args = parser.parse_args()
    ok = True
    with tempfile.TemporaryDirectory() as tmp:
        db = SqliteDb(args.keep or os.path.join(tmp, "sample.db"))
        ok &= run(db)
        db.close()
    if args.postgresql:
        db = PostgresDb(args.postgresql)
        try:
            ok &= run(db)
        finally:
            db.close()
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
