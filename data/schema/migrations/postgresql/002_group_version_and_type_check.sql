-- Schema version 2, PostgreSQL.
--
-- 1. element_group.version: every save of a group checks that the row still has the version it
--    read and raises it, so two people saving the same group never overwrite each other unseen.
-- 2. A group type description may not hold an apostrophe: the search screen puts the picked type
--    into its SQL as it is. Existing apostrophes become typographic ones (U+2019).
-- 3. screen_extra_field, screen_extra_value: extra fields a site adds to a screen, and their
--    values per record, kept by the field manager.
UPDATE d_element_group_type SET element_group_type_desc = replace(element_group_type_desc, '''', '’')
 WHERE strpos(element_group_type_desc, '''') > 0;

ALTER TABLE d_element_group_type
  ADD CONSTRAINT ck_group_type_desc_no_apostrophe CHECK (strpos(element_group_type_desc, '''') = 0);

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
