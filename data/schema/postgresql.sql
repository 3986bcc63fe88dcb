-- TALV ELGroup database, PostgreSQL dialect (15 and later), schema version 2.
-- The same logical schema as sqlite.sql; keep the two in step.
--
-- Loading: every statement ends with ";" as the last character of a line and
-- no line inside a statement ends with ";", so a loader may split on that.
-- Lines starting with "--" are comments. No functions, no meta-commands.
-- The database should be UTF8 so that upper() handles accented names.
--
-- Every identifier is unquoted, so it folds to lower case: the screens' SQL
-- (SYSTEM_CONTROL, ELEMENT_GROUP, ELGroup_WL_VW, "WHERE ID=") reaches these
-- objects whatever letter case it uses. Result columns therefore come back in
-- lower case (id, group_name); the host matches field names without regard
-- to case.

-- Ids -----------------------------------------------------------------------
-- New ids: SELECT nextval('element_group_seq') before the insert (the group
-- object needs its id before it is saved); the column defaults use the same
-- sequences. The sequences start after the rows inserted at the end of this
-- file.
CREATE SEQUENCE org_unit_seq;
CREATE SEQUENCE app_user_seq;
CREATE SEQUENCE user_option_category_seq START WITH 4;
CREATE SEQUENCE user_option_seq;
CREATE SEQUENCE system_control_seq START WITH 17;
CREATE SEQUENCE d_element_group_type_seq;
CREATE SEQUENCE d_group_member_type_seq START WITH 4;
CREATE SEQUENCE scientific_name_seq;
CREATE SEQUENCE element_global_seq;
CREATE SEQUENCE reference_seq;
CREATE SEQUENCE element_group_seq;
CREATE SEQUENCE audit_log_seq;
CREATE SEQUENCE audit_log_column_seq;

CREATE TABLE schema_version (
    version     INTEGER NOT NULL PRIMARY KEY CHECK (version > 0),
    description TEXT NOT NULL,
    applied_on  TIMESTAMP(0) NOT NULL DEFAULT LOCALTIMESTAMP(0)
);

-- Organisation and users ----------------------------------------------------
CREATE TABLE org_unit (
    org_unit_id   INTEGER NOT NULL DEFAULT nextval('org_unit_seq') PRIMARY KEY,
    org_unit_code VARCHAR(10) NOT NULL UNIQUE CHECK (length(org_unit_code) BETWEEN 1 AND 10),
    org_unit_name VARCHAR(120) NOT NULL
);

-- "user" is reserved, hence app_user.
CREATE TABLE app_user (
    user_id     INTEGER NOT NULL DEFAULT nextval('app_user_seq') PRIMARY KEY,
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
    user_option_category_id INTEGER NOT NULL DEFAULT nextval('user_option_category_seq') PRIMARY KEY,
    category_name           VARCHAR(60) NOT NULL UNIQUE,
    category_desc           VARCHAR(255)
);

CREATE TABLE user_option (
    user_option_id          INTEGER NOT NULL DEFAULT nextval('user_option_seq') PRIMARY KEY,
    user_option_category_id INTEGER NOT NULL REFERENCES user_option_category (user_option_category_id) ON DELETE CASCADE,
    user_id                 INTEGER NOT NULL REFERENCES app_user (user_id) ON DELETE CASCADE,
    option_name             VARCHAR(120) NOT NULL CHECK (length(option_name) BETWEEN 1 AND 120),
    option_value            TEXT,
    rec_create_date         TIMESTAMP(0),
    rec_last_mod_date       TIMESTAMP(0),
    UNIQUE (user_option_category_id, user_id, option_name)
);
CREATE INDEX ix_user_option_user ON user_option (user_id);

-- Text field configuration per screen ----------------------------------------
CREATE TABLE system_control (
    system_control_id INTEGER NOT NULL DEFAULT nextval('system_control_seq') PRIMARY KEY,
    form_name         VARCHAR(80) NOT NULL,
    control_name      VARCHAR(80) NOT NULL,
    control_type      VARCHAR(40) NOT NULL,
    is_rich_text      CHAR(1) CHECK (is_rich_text IN ('Y', 'N')),
    max_width         INTEGER,
    control_desc      VARCHAR(120),
    UNIQUE (form_name, control_name)
);

-- Code tables -------------------------------------------------------------
-- The search screen puts a picked group type into its SQL as it is, so a type
-- description never holds an apostrophe.
CREATE TABLE d_element_group_type (
    d_element_group_type_id INTEGER NOT NULL DEFAULT nextval('d_element_group_type_seq') PRIMARY KEY,
    element_group_type_desc VARCHAR(60) NOT NULL UNIQUE CONSTRAINT ck_group_type_desc_no_apostrophe CHECK (strpos(element_group_type_desc, '''') = 0),
    display_order           INTEGER NOT NULL CHECK (display_order >= 0)
);

CREATE TABLE d_group_member_type (
    d_group_member_type_id INTEGER NOT NULL DEFAULT nextval('d_group_member_type_seq') PRIMARY KEY,
    group_member_type_desc VARCHAR(60) NOT NULL UNIQUE,
    display_order          INTEGER NOT NULL CHECK (display_order >= 0)
);

-- Elements and references ---------------------------------------------------
-- Homonyms exist across kingdoms, so a name is not unique by itself.
CREATE TABLE scientific_name (
    scientific_name_id INTEGER NOT NULL DEFAULT nextval('scientific_name_seq') PRIMARY KEY,
    scientific_name    VARCHAR(255) NOT NULL CHECK (length(trim(scientific_name)) > 0),
    name_author        VARCHAR(120)
);
CREATE INDEX ix_scientific_name_name ON scientific_name (scientific_name);
-- Case-insensitive "begins with" searches of the element screens.
CREATE INDEX ix_scientific_name_upper ON scientific_name (upper(scientific_name) text_pattern_ops);

CREATE TABLE element_global (
    element_global_id     INTEGER NOT NULL DEFAULT nextval('element_global_seq') PRIMARY KEY,
    gname_id              INTEGER NOT NULL REFERENCES scientific_name (scientific_name_id) ON DELETE RESTRICT,
    g_primary_common_name VARCHAR(255),
    element_category      VARCHAR(10) NOT NULL CHECK (element_category IN ('Plant', 'Animal', 'Community')),
    g_rank                VARCHAR(10),
    rec_create_user       VARCHAR(30),
    rec_create_date       TIMESTAMP(0),
    rec_last_mod_user     VARCHAR(30),
    rec_last_mod_date     TIMESTAMP(0)
);
CREATE INDEX ix_element_global_gname ON element_global (gname_id);

CREATE TABLE reference (
    reference_id      INTEGER NOT NULL DEFAULT nextval('reference_seq') PRIMARY KEY,
    reference_code    VARCHAR(20) NOT NULL UNIQUE CHECK (length(reference_code) BETWEEN 1 AND 20),
    short_citation    VARCHAR(120),
    full_citation     TEXT NOT NULL CHECK (length(trim(full_citation)) > 0),
    pub_year          INTEGER CHECK (pub_year BETWEEN 1500 AND 2100),
    rec_create_user   VARCHAR(30),
    rec_create_date   TIMESTAMP(0),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TIMESTAMP(0)
);

-- Element groups --------------------------------------------------------------
-- Columns follow the business object's property names (ElementGroupName ->
-- element_group_name, RangeCom -> range_com, DGroupMemberTypeID ->
-- d_group_member_type_id ...). The universal key is unique within its
-- organisation unit and shown as "<org unit code>-<universal_key>". Every save
-- checks that the row still has the version it read and raises it by one, so
-- two people saving the same group never overwrite each other unseen.
CREATE TABLE element_group (
    element_group_id        INTEGER NOT NULL DEFAULT nextval('element_group_seq') PRIMARY KEY,
    element_group_name      VARCHAR(120) NOT NULL CHECK (length(trim(element_group_name)) > 0),
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
    rec_create_date         TIMESTAMP(0) NOT NULL,
    rec_last_mod_user       VARCHAR(30) NOT NULL,
    rec_last_mod_date       TIMESTAMP(0) NOT NULL,
    version                 INTEGER NOT NULL DEFAULT 1 CHECK (version > 0),
    UNIQUE (org_unit_id, universal_key)
);
-- Names are unique without regard to case; the index also serves the
-- screens' UPPER(element_group_name) = '...' lookups.
CREATE UNIQUE INDEX ux_element_group_name ON element_group (upper(element_group_name));
-- "Begins with" searches: UPPER(element_group_name) LIKE 'ALPINE%'.
CREATE INDEX ix_element_group_name_prefix ON element_group (upper(element_group_name) text_pattern_ops);
CREATE INDEX ix_element_group_type ON element_group (d_element_group_type_id);

CREATE TABLE element_group_membership (
    element_group_id  INTEGER NOT NULL REFERENCES element_group (element_group_id) ON DELETE CASCADE,
    element_global_id INTEGER NOT NULL REFERENCES element_global (element_global_id) ON DELETE RESTRICT,
    display_order     INTEGER NOT NULL CHECK (display_order > 0),
    rec_create_user   VARCHAR(30),
    rec_create_date   TIMESTAMP(0),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TIMESTAMP(0),
    PRIMARY KEY (element_group_id, element_global_id)
);
-- The groups of one element (element working lists).
CREATE INDEX ix_membership_element ON element_group_membership (element_global_id);

CREATE TABLE element_group_reference (
    element_group_id  INTEGER NOT NULL REFERENCES element_group (element_group_id) ON DELETE CASCADE,
    reference_id      INTEGER NOT NULL REFERENCES reference (reference_id) ON DELETE RESTRICT,
    display_order     INTEGER NOT NULL CHECK (display_order > 0),
    rec_create_user   VARCHAR(30),
    rec_create_date   TIMESTAMP(0),
    rec_last_mod_user VARCHAR(30),
    rec_last_mod_date TIMESTAMP(0),
    PRIMARY KEY (element_group_id, reference_id)
);
CREATE INDEX ix_group_reference_reference ON element_group_reference (reference_id);

-- Extra fields of screens ---------------------------------------------------------
-- Fields a site adds to a screen (its form_name), with their values per record;
-- the field manager loads and saves them beside the record.
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

-- Audit trail -----------------------------------------------------------------
-- One audit_log row per written row; record_table/record_id name the record
-- whose trail it belongs to (a member row of group 12 is filed under
-- ELEMENT_GROUP 12), table_name/primary_key the row actually written.
-- No foreign key to the audited tables: the trail outlives deleted records.
-- Table names are stored in capitals, column names in lower case.
CREATE TABLE audit_log (
    audit_log_id INTEGER NOT NULL DEFAULT nextval('audit_log_seq') PRIMARY KEY,
    record_table VARCHAR(60) NOT NULL,
    record_id    INTEGER NOT NULL,
    table_name   VARCHAR(60) NOT NULL,
    primary_key  VARCHAR(120) NOT NULL,
    action       CHAR(1) NOT NULL CHECK (action IN ('I', 'U', 'D')),
    user_name    VARCHAR(30) NOT NULL,
    change_date  TIMESTAMP(0) NOT NULL,
    org_unit_id  INTEGER REFERENCES org_unit (org_unit_id) ON DELETE SET NULL
);
CREATE INDEX ix_audit_log_record ON audit_log (record_table, record_id);

-- One row per changed column; the comment is the user's note on that change.
CREATE TABLE audit_log_column (
    audit_log_column_id INTEGER NOT NULL DEFAULT nextval('audit_log_column_seq') PRIMARY KEY,
    audit_log_id        INTEGER NOT NULL REFERENCES audit_log (audit_log_id) ON DELETE CASCADE,
    column_name         VARCHAR(60) NOT NULL,
    old_value           TEXT,
    new_value           TEXT,
    comments            TEXT,
    UNIQUE (audit_log_id, column_name)
);

-- Dropping a table drops its sequence with it.
ALTER SEQUENCE org_unit_seq OWNED BY org_unit.org_unit_id;
ALTER SEQUENCE app_user_seq OWNED BY app_user.user_id;
ALTER SEQUENCE user_option_category_seq OWNED BY user_option_category.user_option_category_id;
ALTER SEQUENCE user_option_seq OWNED BY user_option.user_option_id;
ALTER SEQUENCE system_control_seq OWNED BY system_control.system_control_id;
ALTER SEQUENCE d_element_group_type_seq OWNED BY d_element_group_type.d_element_group_type_id;
ALTER SEQUENCE d_group_member_type_seq OWNED BY d_group_member_type.d_group_member_type_id;
ALTER SEQUENCE scientific_name_seq OWNED BY scientific_name.scientific_name_id;
ALTER SEQUENCE element_global_seq OWNED BY element_global.element_global_id;
ALTER SEQUENCE reference_seq OWNED BY reference.reference_id;
ALTER SEQUENCE element_group_seq OWNED BY element_group.element_group_id;
ALTER SEQUENCE audit_log_seq OWNED BY audit_log.audit_log_id;
ALTER SEQUENCE audit_log_column_seq OWNED BY audit_log_column.audit_log_column_id;

-- Views -------------------------------------------------------------------------
-- Working-list layout of element groups. The screens name it ELGroup_WL_VW,
-- ELGROUP_WL_VW and ELEMENT_GROUP_WL_VW: the first two fold to the same name
-- here, the third is a second view over the first.
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

INSERT INTO schema_version (version, description) VALUES
    (1, 'Initial schema'),
    (2, 'Group versions, group type descriptions without apostrophes, screen extra fields');
