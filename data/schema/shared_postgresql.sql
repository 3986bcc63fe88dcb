-- Rights of the TALV roles in a shared PostgreSQL database. Run by
-- "talv-host --setup-shared" after it has made the group roles talv_reader and
-- talv_writer; it then gives each TALV user a login role of the same name (in
-- lower case) in one of the two groups. Running it again brings the rights in
-- line with the tables of the current schema.
--
-- What the database allows is what talv-host allows, so a user who connects
-- with any other client gets no further: a reader reads everything and keeps
-- only their own user options; a writer also changes element groups, their
-- members and references, and files the audit trail in their own name. The
-- code tables, users and rights stay with the database's owner.

REVOKE ALL ON ALL TABLES IN SCHEMA public FROM talv_reader, talv_writer;
REVOKE ALL ON ALL SEQUENCES IN SCHEMA public FROM talv_reader, talv_writer;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO talv_reader, talv_writer;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO talv_reader, talv_writer;

-- Everyone keeps their own saved searches and screen settings.
GRANT INSERT, UPDATE, DELETE ON user_option TO talv_reader, talv_writer;
GRANT USAGE ON SEQUENCE user_option_seq TO talv_reader, talv_writer;

GRANT INSERT, UPDATE, DELETE ON element_group, element_group_membership, element_group_reference TO talv_writer;
GRANT INSERT ON audit_log, audit_log_column TO talv_writer;
GRANT UPDATE (comments) ON audit_log_column TO talv_writer;
GRANT USAGE ON SEQUENCE element_group_seq, audit_log_seq, audit_log_column_seq TO talv_writer;

-- A user's options are written by that user only (every user may read them).
ALTER TABLE user_option ENABLE ROW LEVEL SECURITY;
DROP POLICY IF EXISTS user_option_read ON user_option;
CREATE POLICY user_option_read ON user_option FOR SELECT USING (true);
DROP POLICY IF EXISTS user_option_own ON user_option;
CREATE POLICY user_option_own ON user_option FOR ALL TO talv_reader, talv_writer
    USING (user_id IN (SELECT user_id FROM app_user WHERE lower(user_name) = lower(current_user)))
    WITH CHECK (user_id IN (SELECT user_id FROM app_user WHERE lower(user_name) = lower(current_user)));

-- The audit trail names the user who wrote, and no other.
ALTER TABLE audit_log ENABLE ROW LEVEL SECURITY;
DROP POLICY IF EXISTS audit_log_read ON audit_log;
CREATE POLICY audit_log_read ON audit_log FOR SELECT USING (true);
DROP POLICY IF EXISTS audit_log_own ON audit_log;
CREATE POLICY audit_log_own ON audit_log FOR INSERT TO talv_writer
    WITH CHECK (lower(user_name) = lower(current_user));
