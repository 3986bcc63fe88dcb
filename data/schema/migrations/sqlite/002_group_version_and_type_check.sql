-- Schema version 2, SQLite.
--
-- 1. element_group.version: every save of a group checks that the row still has the version it
--    read and raises it, so two people saving the same group never overwrite each other unseen.
-- 2. A group type description may not hold an apostrophe: the search screen puts the picked type
--    into its SQL as it is. Existing apostrophes become typographic ones (U+2019).
-- 3. screen_extra_field, screen_extra_value: extra fields a site adds to a screen, and their
--    values per record, kept by the field manager.
--
-- SQLite cannot add a CHECK to an existing table, so d_element_group_type is rebuilt: a new table,
-- the rows copied, the old one dropped and the new one renamed into its place. element_group
-- refers to the table by name, so its foreign key holds again once the rename is done; the checks
-- wait until the commit meanwhile (defer_foreign_keys, which the commit resets). The working-list
-- views read the table and are made again around the rebuild.
PRAGMA defer_foreign_keys = ON;

DROP VIEW ELEMENT_GROUP_WL_VW;
DROP VIEW ELGroup_WL_VW;

UPDATE d_element_group_type SET element_group_type_desc = replace(element_group_type_desc, '''', '’')
 WHERE instr(element_group_type_desc, '''') > 0;

CREATE TABLE d_element_group_type_v2 (
    d_element_group_type_id INTEGER PRIMARY KEY,
    element_group_type_desc VARCHAR(60) NOT NULL UNIQUE CHECK (instr(element_group_type_desc, '''') = 0),
    display_order           INTEGER NOT NULL CHECK (display_order >= 0)
);
INSERT INTO d_element_group_type_v2 (d_element_group_type_id, element_group_type_desc, display_order)
SELECT d_element_group_type_id, element_group_type_desc, display_order FROM d_element_group_type;
DROP TABLE d_element_group_type;
ALTER TABLE d_element_group_type_v2 RENAME TO d_element_group_type;

CREATE VIEW ELGroup_WL_VW AS
SELECT element_group.element_group_id AS ID,
       element_group.element_group_name AS Group_Name,
       d_element_group_type.element_group_type_desc AS Group_Type
  FROM element_group
  JOIN d_element_group_type ON d_element_group_type.d_element_group_type_id = element_group.d_element_group_type_id;

CREATE VIEW ELEMENT_GROUP_WL_VW AS
SELECT ID, Group_Name, Group_Type FROM ELGroup_WL_VW;

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
