-- Moves every id sequence past the highest id in its table, never backwards.
-- Run after loading rows with explicit ids (sample data, imports, the
-- synthetic generator). Same statement convention as the schema files.
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(org_unit_id), 0) + 1 FROM org_unit)) WHERE sequence_name = 'org_unit_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(user_id), 0) + 1 FROM app_user)) WHERE sequence_name = 'app_user_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(user_option_category_id), 0) + 1 FROM user_option_category)) WHERE sequence_name = 'user_option_category_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(user_option_id), 0) + 1 FROM user_option)) WHERE sequence_name = 'user_option_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(system_control_id), 0) + 1 FROM system_control)) WHERE sequence_name = 'system_control_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(d_element_group_type_id), 0) + 1 FROM d_element_group_type)) WHERE sequence_name = 'd_element_group_type_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(d_group_member_type_id), 0) + 1 FROM d_group_member_type)) WHERE sequence_name = 'd_group_member_type_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(scientific_name_id), 0) + 1 FROM scientific_name)) WHERE sequence_name = 'scientific_name_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(element_global_id), 0) + 1 FROM element_global)) WHERE sequence_name = 'element_global_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(reference_id), 0) + 1 FROM reference)) WHERE sequence_name = 'reference_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(element_group_id), 0) + 1 FROM element_group)) WHERE sequence_name = 'element_group_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(audit_log_id), 0) + 1 FROM audit_log)) WHERE sequence_name = 'audit_log_seq';
UPDATE id_sequence SET next_value = max(next_value, (SELECT coalesce(max(audit_log_column_id), 0) + 1 FROM audit_log_column)) WHERE sequence_name = 'audit_log_column_seq';
