-- TALV ELGroup database, SQLite dialect, schema version 1.
-- The same logical schema as postgresql.sql; keep the two in step.
--
-- Loading: every statement ends with ";" as the last character of a line and
-- no line inside a statement ends with ";", so a loader may split on that.
-- Lines starting with "--" are comments. No triggers, no meta-commands.
--
-- The connection must run "PRAGMA foreign_keys = ON" itself: SQLite keeps that
-- setting per connection, not in the file.
--
-- Dates are TEXT in ISO 8601 ("YYYY-MM-DD HH:MM:SS") so that they sort and
-- compare as dates; the CHECKs refuse anything that would not.
--
-- Nothing here calls UPPER() or LOWER(): the host replaces UPPER with a
-- Unicode-aware function, and an index or CHECK built on SQLite's ASCII-only
-- one would disagree with it.

-- Ids -----------------------------------------------------------------------
-- SQLite has no sequences. New ids are taken from this table, one row per
-- sequence, named like the PostgreSQL sequences:
--   UPDATE id_sequence SET next_value = next_value + 1
--    WHERE sequence_name = 'element_group_seq' RETURNING next_value - 1
-- The UPDATE takes the write lock, so two connections never get the same id.
-- Do not rely on INTEGER PRIMARY KEY auto-numbering for new rows: an id handed
-- out here but not yet saved is invisible to it.
CREATE TABLE id_sequence (
    sequence_name TEXT NOT NULL PRIMARY KEY,
    next_value    INTEGER NOT NULL CHECK (next_value > 0)
);

CREATE TABLE schema_version (
    version     INTEGER NOT NULL PRIMARY KEY CHECK (version > 0),
    description TEXT NOT NULL,
    applied_on  TEXT NOT NULL DEFAULT (datetime('now'))
);

-- Organisation and users ----------------------------------------------------
CREATE TABLE org_unit (
    org_unit_id   INTEGER PRIMARY KEY,
    org_unit_code VARCHAR(10) NOT NULL UNIQUE CHECK (length(org_unit_code) BETWEEN 1 AND 10),
    org_unit_name VARCHAR(120) NOT NULL
);

-- "user" is reserved on PostgreSQL, hence app_user.
CREATE TABLE app_user (
    user_id     INTEGER PRIMARY KEY,
    user_name   VARCHAR(30) NOT NULL UNIQUE CHECK (length(user_name) BETWEEN 1 AND 30),
    full_name   VARCHAR(120),
    org_unit_id INTEGER NOT NULL REFERENCES org_unit (org_unit_id) ON DELETE RESTRICT,
    is_active   CHAR(1) NOT NULL DEFAULT 'Y' CHECK (is_active IN ('Y', 'N'))
);

-- Access letter per screen (form_name) and control or menu (control_name):
-- F full, R read only, N none. '*' stands for every form or every control,
-- the most specific row wins.
CREATE TABLE user_access (
    user_id      INTEGER NOT NULL REFERENCES app_user (user_id) ON DELETE CASCADE,
    form_name    VARCHAR(80) NOT NULL,
    control_name VARCHAR(80) NOT NULL,
    access_level CHAR(1) NOT NULL CHECK (access_level IN ('F', 'R', 'N')),
    PRIMARY KEY (user_id, form_name, control_name)
);

-- User options (saved searches, screen defaults) -----------------------------
CREATE TABLE user_option_category (
    user_option_category_id INTEGER PRIMARY KEY,
    category_name           VARCHAR(60) NOT NULL UNIQUE,
    category_desc           VARCHAR(255)
);

CREATE TABLE user_option (
    user_option_id          INTEGER PRIMARY KEY,
    user_option_category_id INTEGER NOT NULL REFERENCES user_option_category (user_option_category_id) ON DELETE CASCADE,
    user_id                 INTEGER NOT NULL REFERENCES app_user (user_id) ON DELETE CASCADE,
    option_name             VARCHAR(120) NOT NULL CHECK (length(option_name) BETWEEN 1 AND 120),
    option_value            TEXT,
    rec_create_date         TEXT CHECK (rec_create_date IS NULL OR rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_date       TEXT CHECK (rec_last_mod_date IS NULL OR rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    UNIQUE (user_option_category_id, user_id, option_name)
);
CREATE INDEX ix_user_option_user ON user_option (user_id);

-- Text field configuration per screen ----------------------------------------
CREATE TABLE system_control (
    system_control_id INTEGER PRIMARY KEY,
    form_name         VARCHAR(80) NOT NULL,
    control_name      VARCHAR(80) NOT NULL,
    control_type      VARCHAR(40) NOT NULL,
    is_rich_text      CHAR(1) CHECK (is_rich_text IN ('Y', 'N')),
    max_width         INTEGER,
    control_desc      VARCHAR(120),
    UNIQUE (form_name, control_name)
);

-- Code tables -------------------------------------------------------------
CREATE TABLE d_element_group_type (
    d_element_group_type_id INTEGER PRIMARY KEY,
    element_group_type_desc VARCHAR(60) NOT NULL UNIQUE,
    display_order           INTEGER NOT NULL CHECK (display_order >= 0)
);

CREATE TABLE d_group_member_type (
    d_group_member_type_id INTEGER PRIMARY KEY,
    group_member_type_desc VARCHAR(60) NOT NULL UNIQUE,
    display_order          INTEGER NOT NULL CHECK (display_order >= 0)
);

-- Elements and references ---------------------------------------------------
-- Homonyms exist across kingdoms, so a name is not unique by itself.
CREATE TABLE scientific_name (
    scientific_name_id INTEGER PRIMARY KEY,
    scientific_name    VARCHAR(255) NOT NULL CHECK (length(trim(scientific_name)) > 0),
    name_author        VARCHAR(120)
);
CREATE INDEX ix_scientific_name_name ON scientific_name (scientific_name);

CREATE TABLE element_global (
    element_global_id     INTEGER PRIMARY KEY,
    gname_id              INTEGER NOT NULL REFERENCES scientific_name (scientific_name_id) ON DELETE RESTRICT,
    g_primary_common_name VARCHAR(255),
    element_category      VARCHAR(10) NOT NULL CHECK (element_category IN ('Plant', 'Animal', 'Community')),
    g_rank                VARCHAR(10),
    rec_create_user       VARCHAR(30),
    rec_create_date       TEXT CHECK (rec_create_date IS NULL OR rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_user     VARCHAR(30),
    rec_last_mod_date     TEXT CHECK (rec_last_mod_date IS NULL OR rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*')
);
CREATE INDEX ix_element_global_gname ON element_global (gname_id);

CREATE TABLE reference (
    reference_id      INTEGER PRIMARY KEY,
    reference_code    VARCHAR(20) NOT NULL UNIQUE CHECK (length(reference_code) BETWEEN 1 AND 20),
    short_citation    VARCHAR(120),
    full_citation     TEXT NOT NULL CHECK (length(trim(full_citation)) > 0),
    pub_year          INTEGER CHECK (pub_year BETWEEN 1500 AND 2100),
    rec_create_user   VARCHAR(30),
    rec_create_date   TEXT CHECK (rec_create_date IS NULL OR rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TEXT CHECK (rec_last_mod_date IS NULL OR rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*')
);

-- Element groups --------------------------------------------------------------
-- Columns follow the business object's property names (ElementGroupName ->
-- element_group_name, RangeCom -> range_com, DGroupMemberTypeID ->
-- d_group_member_type_id ...). The universal key is unique within its
-- organisation unit and shown as "<org unit code>-<universal_key>".
CREATE TABLE element_group (
    element_group_id        INTEGER PRIMARY KEY,
    element_group_name      VARCHAR(120) NOT NULL CHECK (length(trim(element_group_name)) BETWEEN 1 AND 120),
    d_element_group_type_id INTEGER NOT NULL REFERENCES d_element_group_type (d_element_group_type_id) ON DELETE RESTRICT,
    d_group_member_type_id  INTEGER NOT NULL REFERENCES d_group_member_type (d_group_member_type_id) ON DELETE RESTRICT,
    element_group_desc      TEXT,
    range_com               TEXT,
    habitat_com             TEXT,
    ecology_com             TEXT,
    threat_com              TEXT,
    status_com              TEXT,
    trend_com               TEXT,
    org_unit_id             INTEGER NOT NULL REFERENCES org_unit (org_unit_id) ON DELETE RESTRICT,
    universal_key           VARCHAR(40) NOT NULL,
    rec_create_user         VARCHAR(30) NOT NULL,
    rec_create_date         TEXT NOT NULL CHECK (rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_user       VARCHAR(30) NOT NULL,
    rec_last_mod_date       TEXT NOT NULL CHECK (rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    UNIQUE (org_unit_id, universal_key)
);
-- Guards name uniqueness at least for ASCII letter case (NOCASE is ASCII only,
-- so it never refuses a name that the Unicode-aware check in the client
-- accepts). PostgreSQL guards the full rule with an index on upper().
CREATE UNIQUE INDEX ux_element_group_name ON element_group (element_group_name COLLATE NOCASE);
CREATE INDEX ix_element_group_type ON element_group (d_element_group_type_id);

CREATE TABLE element_group_membership (
    element_group_id  INTEGER NOT NULL REFERENCES element_group (element_group_id) ON DELETE CASCADE,
    element_global_id INTEGER NOT NULL REFERENCES element_global (element_global_id) ON DELETE RESTRICT,
    display_order     INTEGER NOT NULL CHECK (display_order > 0),
    rec_create_user   VARCHAR(30),
    rec_create_date   TEXT CHECK (rec_create_date IS NULL OR rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TEXT CHECK (rec_last_mod_date IS NULL OR rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    PRIMARY KEY (element_group_id, element_global_id)
);
-- The groups of one element (element working lists).
CREATE INDEX ix_membership_element ON element_group_membership (element_global_id);

CREATE TABLE element_group_reference (
    element_group_id  INTEGER NOT NULL REFERENCES element_group (element_group_id) ON DELETE CASCADE,
    reference_id      INTEGER NOT NULL REFERENCES reference (reference_id) ON DELETE RESTRICT,
    display_order     INTEGER NOT NULL CHECK (display_order > 0),
    rec_create_user   VARCHAR(30),
    rec_create_date   TEXT CHECK (rec_create_date IS NULL OR rec_create_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TEXT CHECK (rec_last_mod_date IS NULL OR rec_last_mod_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    PRIMARY KEY (element_group_id, reference_id)
);
CREATE INDEX ix_group_reference_reference ON element_group_reference (reference_id);

-- Audit trail -----------------------------------------------------------------
-- One audit_log row per written row; record_table/record_id name the record
-- whose trail it belongs to (a member row of group 12 is filed under
-- ELEMENT_GROUP 12), table_name/primary_key the row actually written.
-- No foreign key to the audited tables: the trail outlives deleted records.
-- Table names are stored in capitals, column names in lower case.
CREATE TABLE audit_log (
    audit_log_id INTEGER PRIMARY KEY,
    record_table VARCHAR(60) NOT NULL,
    record_id    INTEGER NOT NULL,
    table_name   VARCHAR(60) NOT NULL,
    primary_key  VARCHAR(120) NOT NULL,
    action       CHAR(1) NOT NULL CHECK (action IN ('I', 'U', 'D')),
    user_name    VARCHAR(30) NOT NULL,
    change_date  TEXT NOT NULL CHECK (change_date GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]*'),
    org_unit_id  INTEGER REFERENCES org_unit (org_unit_id) ON DELETE SET NULL
);
CREATE INDEX ix_audit_log_record ON audit_log (record_table, record_id);

-- One row per changed column; the comment is the user's note on that change.
CREATE TABLE audit_log_column (
    audit_log_column_id INTEGER PRIMARY KEY,
    audit_log_id        INTEGER NOT NULL REFERENCES audit_log (audit_log_id) ON DELETE CASCADE,
    column_name         VARCHAR(60) NOT NULL,
    old_value           TEXT,
    new_value           TEXT,
    comments            TEXT,
    UNIQUE (audit_log_id, column_name)
);

-- Views -------------------------------------------------------------------------
-- Working-list layout of element groups. The screens name it ELGroup_WL_VW,
-- ELGROUP_WL_VW and ELEMENT_GROUP_WL_VW: the first two are one name here
-- (names ignore case), the third is a second view over the first.
CREATE VIEW ELGroup_WL_VW AS
SELECT element_group.element_group_id AS ID,
       element_group.element_group_name AS Group_Name,
       d_element_group_type.element_group_type_desc AS Group_Type
  FROM element_group
  JOIN d_element_group_type ON d_element_group_type.d_element_group_type_id = element_group.d_element_group_type_id;

CREATE VIEW ELEMENT_GROUP_WL_VW AS
SELECT ID, Group_Name, Group_Type FROM ELGroup_WL_VW;

CREATE VIEW REFERENCE_WL_VW AS
SELECT reference.reference_id AS ID,
       reference.reference_code AS REFERENCE_CODE,
       reference.short_citation AS SHORT_CITATION,
       reference.full_citation AS FULL_CITATION
  FROM reference;

-- List layout of the element view "ELE" (also the element search's selection).
CREATE VIEW ELEMENT_WL_VW AS
SELECT element_global.element_global_id AS ID,
       scientific_name.scientific_name AS SCIENTIFIC_NAME,
       element_global.g_primary_common_name AS COMMON_NAME,
       element_global.element_category AS ELEMENT_CATEGORY,
       element_global.g_rank AS G_RANK
  FROM element_global
  JOIN scientific_name ON scientific_name.scientific_name_id = element_global.gname_id;

-- Audit rows in the audit-log grid's column order; record_table comes last and
-- is only for filtering. Rows without a column change have no audit_log_column_id
-- and cannot carry a comment.
CREATE VIEW AUDIT_TRAIL_VW AS
SELECT audit_log.audit_log_id AS ID,
       audit_log.change_date AS CHANGE_DATE,
       audit_log.user_name AS USER_NAME,
       audit_log.table_name AS TABLE_NAME,
       audit_log.action AS ACTION,
       audit_log_column.column_name AS COLUMN_NAME,
       audit_log_column.old_value AS OLD_VALUE,
       audit_log_column.comments AS COMMENTS,
       audit_log.primary_key AS PRIMARY_KEY,
       audit_log.org_unit_id AS ORG_UNIT_ID,
       audit_log.record_id AS RECORD_ID,
       audit_log_column.audit_log_column_id AS AUDIT_LOG_COLUMN_ID,
       audit_log.record_table AS RECORD_TABLE
  FROM audit_log
  LEFT JOIN audit_log_column ON audit_log_column.audit_log_id = audit_log.audit_log_id;

-- Rows every database needs -------------------------------------------------------
INSERT INTO d_group_member_type (d_group_member_type_id, group_member_type_desc, display_order) VALUES
    (1, 'Botanical', 1),
    (2, 'Zoological', 2),
    (3, 'Ecological', 3);

INSERT INTO user_option_category (user_option_category_id, category_name, category_desc) VALUES
    (1, '$DEFAULT_FIND_PROPERTIES', 'Default settings of search screens'),
    (2, '$DEFAULT_FIND_CRITERIA', 'Default criteria of search screens'),
    (3, '$USER_FIND_ELEMENT_GROUP', 'Saved element group searches');

-- The record screen asks under its class name; a host that passes no name gets
-- the screen's object name, so both carry the eight text fields.
INSERT INTO system_control (system_control_id, form_name, control_name, control_type, is_rich_text, max_width, control_desc) VALUES
    (1, 'TALV_ELGroup.ELGroupDetails', 'ctrGroupName', 'RichTextControl', 'N', 120, 'Element Group Name'),
    (2, 'TALV_ELGroup.ELGroupDetails', 'ctrGroupDescription', 'RichTextControl', 'Y', 4000, 'Description'),
    (3, 'TALV_ELGroup.ELGroupDetails', 'ctrEMGRange', 'RichTextControl', 'Y', 16000, 'Range Comments'),
    (4, 'TALV_ELGroup.ELGroupDetails', 'ctrEMGHabitat', 'RichTextControl', 'Y', 16000, 'Habitat Comments'),
    (5, 'TALV_ELGroup.ELGroupDetails', 'ctrEMGEcology', 'RichTextControl', 'Y', 16000, 'Ecology Comments'),
    (6, 'TALV_ELGroup.ELGroupDetails', 'ctrThreat', 'RichTextControl', 'Y', 16000, 'Threat Comments'),
    (7, 'TALV_ELGroup.ELGroupDetails', 'ctrEMGStatus', 'RichTextControl', 'Y', 16000, 'Status Comments'),
    (8, 'TALV_ELGroup.ELGroupDetails', 'ctrEMGTrend', 'RichTextControl', 'Y', 16000, 'Trend Comments'),
    (9, 'ELGroupDetails', 'ctrGroupName', 'RichTextControl', 'N', 120, 'Element Group Name'),
    (10, 'ELGroupDetails', 'ctrGroupDescription', 'RichTextControl', 'Y', 4000, 'Description'),
    (11, 'ELGroupDetails', 'ctrEMGRange', 'RichTextControl', 'Y', 16000, 'Range Comments'),
    (12, 'ELGroupDetails', 'ctrEMGHabitat', 'RichTextControl', 'Y', 16000, 'Habitat Comments'),
    (13, 'ELGroupDetails', 'ctrEMGEcology', 'RichTextControl', 'Y', 16000, 'Ecology Comments'),
    (14, 'ELGroupDetails', 'ctrThreat', 'RichTextControl', 'Y', 16000, 'Threat Comments'),
    (15, 'ELGroupDetails', 'ctrEMGStatus', 'RichTextControl', 'Y', 16000, 'Status Comments'),
    (16, 'ELGroupDetails', 'ctrEMGTrend', 'RichTextControl', 'Y', 16000, 'Trend Comments');

INSERT INTO id_sequence (sequence_name, next_value) VALUES
    ('org_unit_seq', 1),
    ('app_user_seq', 1),
    ('user_option_category_seq', 4),
    ('user_option_seq', 1),
    ('system_control_seq', 17),
    ('d_element_group_type_seq', 1),
    ('d_group_member_type_seq', 4),
    ('scientific_name_seq', 1),
    ('element_global_seq', 1),
    ('reference_seq', 1),
    ('element_group_seq', 1),
    ('audit_log_seq', 1),
    ('audit_log_column_seq', 1);

INSERT INTO schema_version (version, description) VALUES (1, 'Initial schema');
