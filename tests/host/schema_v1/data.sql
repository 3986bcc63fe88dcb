-- A small data set in the version-1 layout, for the upgrade test: a few rows in every table,
-- with quotes and letters beyond ASCII, and a group type whose description holds an apostrophe
-- (allowed before version 2). Portable SQL; statements end with ";" at a line end.
INSERT INTO org_unit (org_unit_id, org_unit_code, org_unit_name) VALUES
    (1, 'HQ', 'Central Science Office'),
    (2, 'BAL', 'Baltic Partner Programme');
INSERT INTO app_user (user_id, user_name, full_name, org_unit_id, is_active) VALUES
    (1, 'ecarter', 'Elena Carter', 1, 'Y'),
    (2, 'jbrandt', 'Jonas Brandt', 2, 'Y');
INSERT INTO user_access (user_id, form_name, control_name, access_level) VALUES
    (1, '*', '*', 'F'),
    (2, '*', '*', 'R');
INSERT INTO user_option (user_option_id, user_option_category_id, user_id, option_name, option_value, rec_create_date, rec_last_mod_date) VALUES
    (1, 3, 1, 'Carter''s alpine groups', '<TALV/>', '2020-02-03 04:05:06', '2020-02-03 04:05:06');
INSERT INTO d_element_group_type (d_element_group_type_id, element_group_type_desc, display_order) VALUES
    (1, 'Taxonomic Group', 2),
    (2, 'Farmer''s Fields', 1),
    (3, 'Étang Assemblage', 3);
INSERT INTO scientific_name (scientific_name_id, scientific_name, name_author) VALUES
    (1, 'Cypripedium reginae', 'Walter'),
    (2, 'Helianthemum oelandicum', NULL),
    (3, 'Isoëtes lacustris', 'L.');
INSERT INTO element_global (element_global_id, gname_id, g_primary_common_name, element_category, g_rank, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES
    (1, 1, 'Showy Lady''s-slipper', 'Plant', 'G4', 'ecarter', '2004-01-02 03:04:05', 'ecarter', '2004-01-02 03:04:05'),
    (2, 2, 'Ölandic Rock-rose', 'Plant', 'G3', NULL, NULL, NULL, NULL),
    (3, 3, NULL, 'Plant', NULL, NULL, NULL, NULL, NULL);
INSERT INTO reference (reference_id, reference_code, short_citation, full_citation, pub_year, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES
    (1, 'CARTER04', 'Carter 2004', 'Carter, E. 2004. Orchids of the "Bruce". Field Notes 3: 1-9.', 2004, NULL, NULL, NULL, NULL),
    (2, 'SJOBERG10', 'Sjöberg 2010', 'Sjöberg, S. 2010. Alvar flora of Öland.', 2010, NULL, NULL, NULL, NULL);
INSERT INTO element_group (element_group_id, element_group_name, d_element_group_type_id, d_group_member_type_id, element_group_desc, range_com, habitat_com, ecology_com, threat_com, status_com, trend_com, org_unit_id, universal_key, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES
    (1, 'Lady''s-slippers of the Bruce', 1, 1, 'Orchids "of note"', 'Bruce Peninsula', NULL, NULL, 'Trampling', NULL, 'Stable', 1, 'ELGRP00001', 'ecarter', '2004-01-02 03:04:05', 'jbrandt', '2010-06-07 08:09:10'),
    (2, 'Alvar Plants of Öland', 2, 1, NULL, NULL, 'Limestone pavement', NULL, NULL, NULL, NULL, 2, 'ELGRP00002', 'jbrandt', '2008-01-01 00:00:00', 'jbrandt', '2008-01-01 00:00:00'),
    (3, 'Species Awaiting Review', 3, 3, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 1, 'ELGRP00003', 'ecarter', '2012-12-12 12:12:12', 'ecarter', '2012-12-12 12:12:12');
INSERT INTO element_group_membership (element_group_id, element_global_id, display_order, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES
    (1, 1, 1, 'ecarter', '2004-01-02 03:04:05', 'ecarter', '2004-01-02 03:04:05'),
    (2, 2, 1, 'jbrandt', '2008-01-01 00:00:00', 'jbrandt', '2008-01-01 00:00:00'),
    (2, 3, 2, NULL, NULL, NULL, NULL);
INSERT INTO element_group_reference (element_group_id, reference_id, display_order, rec_create_user, rec_create_date, rec_last_mod_user, rec_last_mod_date) VALUES
    (1, 1, 1, 'ecarter', '2004-01-02 03:04:05', 'ecarter', '2004-01-02 03:04:05'),
    (2, 2, 1, NULL, NULL, NULL, NULL);
INSERT INTO audit_log (audit_log_id, record_table, record_id, table_name, primary_key, action, user_name, change_date, org_unit_id) VALUES
    (1, 'ELEMENT_GROUP', 1, 'ELEMENT_GROUP', '1', 'U', 'jbrandt', '2010-06-07 08:09:10', 2),
    (2, 'ELEMENT_GROUP', 9001, 'ELEMENT_GROUP', '9001', 'D', 'ecarter', '2001-01-01 00:00:00', NULL);
INSERT INTO audit_log_column (audit_log_column_id, audit_log_id, column_name, old_value, new_value, comments) VALUES
    (1, 1, 'threat_com', 'None known', 'Trampling', 'Seen on the survey of ''09');
