-- Moves every id sequence past the highest id in its table, never backwards.
-- Run after loading rows with explicit ids (sample data, imports, the
-- synthetic generator). Same statement convention as the schema files.
SELECT setval('org_unit_seq', greatest((SELECT coalesce(max(org_unit_id), 0) + 1 FROM org_unit), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM org_unit_seq)), false);
SELECT setval('app_user_seq', greatest((SELECT coalesce(max(user_id), 0) + 1 FROM app_user), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM app_user_seq)), false);
SELECT setval('user_option_category_seq', greatest((SELECT coalesce(max(user_option_category_id), 0) + 1 FROM user_option_category), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM user_option_category_seq)), false);
SELECT setval('user_option_seq', greatest((SELECT coalesce(max(user_option_id), 0) + 1 FROM user_option), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM user_option_seq)), false);
SELECT setval('system_control_seq', greatest((SELECT coalesce(max(system_control_id), 0) + 1 FROM system_control), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM system_control_seq)), false);
SELECT setval('d_element_group_type_seq', greatest((SELECT coalesce(max(d_element_group_type_id), 0) + 1 FROM d_element_group_type), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM d_element_group_type_seq)), false);
SELECT setval('d_group_member_type_seq', greatest((SELECT coalesce(max(d_group_member_type_id), 0) + 1 FROM d_group_member_type), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM d_group_member_type_seq)), false);
SELECT setval('scientific_name_seq', greatest((SELECT coalesce(max(scientific_name_id), 0) + 1 FROM scientific_name), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM scientific_name_seq)), false);
SELECT setval('element_global_seq', greatest((SELECT coalesce(max(element_global_id), 0) + 1 FROM element_global), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM element_global_seq)), false);
SELECT setval('reference_seq', greatest((SELECT coalesce(max(reference_id), 0) + 1 FROM reference), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM reference_seq)), false);
SELECT setval('element_group_seq', greatest((SELECT coalesce(max(element_group_id), 0) + 1 FROM element_group), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM element_group_seq)), false);
SELECT setval('audit_log_seq', greatest((SELECT coalesce(max(audit_log_id), 0) + 1 FROM audit_log), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM audit_log_seq)), false);
SELECT setval('audit_log_column_seq', greatest((SELECT coalesce(max(audit_log_column_id), 0) + 1 FROM audit_log_column), (SELECT last_value + CASE WHEN is_called THEN 1 ELSE 0 END FROM audit_log_column_seq)), false);
