-- Schema version 2, SQLite.
--
-- 1. element_group.version: every save of a group checks that the row still has the version it
--    read and raises it, so two people saving the same group never overwrite each other unseen.
-- 2. A group type description may not hold an apostrophe: the search screen puts the picked type
--    into its SQL as it is. Existing apostrophes become typographic ones (U+2019).
-- 3. screen_extra_field, screen_extra_value: extra fields a site adds to a screen, and their
--    values per record, kept by the field manager.
--
-- SQLite cannot add a CHECK to an existing table, so d_element_group_type is made again: its rows
-- are copied aside, the table dropped and created with the CHECK, and the rows put back. The
-- migration runs in one transaction with foreign keys on. Dropping the table leaves the groups
-- without their types for a moment; with the checks deferred to the commit (defer_foreign_keys,
-- which the commit resets) SQLite counts those groups, and counts them off again as their types
-- are inserted, so the commit fails unless every group has its type back. The table is created
-- under its own name rather than renamed into place, because a rename would leave that count
-- standing.
PRAGMA defer_foreign_keys = ON;

CREATE TEMP TABLE group_type_copy AS
SELECT d_element_group_type_id, replace(element_group_type_desc, '''', '’') AS element_group_type_desc, display_order
  FROM d_element_group_type;
DROP TABLE d_element_group_type;
CREATE TABLE d_element_group_type (
    d_element_group_type_id INTEGER PRIMARY KEY,
    element_group_type_desc VARCHAR(60) NOT NULL UNIQUE CHECK (instr(element_group_type_desc, '''') = 0),
    display_order           INTEGER NOT NULL CHECK (display_order >= 0)
);
INSERT INTO d_element_group_type (d_element_group_type_id, element_group_type_desc, display_order)
SELECT d_element_group_type_id, element_group_type_desc, display_order FROM group_type_copy;
DROP TABLE group_type_copy;

ALTER TABLE element_group ADD COLUMN version INTEGER NOT NULL DEFAULT 1 CHECK (version > 0);

CREATE TABLE screen_extra_field (
    form_name    VARCHAR(80) NOT NULL,
    control_name VARCHAR(80) NOT NULL,
    field_label  VARCHAR(120),
    PRIMARY KEY (form_name, control_name)
);

CREATE TABLE screen_extra_value (
    form_name    VARCHAR(80) NOT NULL,
    control_name VARCHAR(80) NOT NULL,
    record_id    INTEGER NOT NULL,
    field_value  TEXT,
    PRIMARY KEY (form_name, control_name, record_id),
    FOREIGN KEY (form_name, control_name) REFERENCES screen_extra_field (form_name, control_name) ON DELETE CASCADE
);

INSERT INTO schema_version (version, description) VALUES (2, 'Group versions, group type descriptions without apostrophes, screen extra fields');
