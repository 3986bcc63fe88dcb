-- Optional, PostgreSQL only: makes the "Contains", "Ends with" and "Wildcard"
-- group-name searches (UPPER(element_group_name) LIKE '%...%') use an index
-- instead of reading every group. Needs the pg_trgm extension (shipped with
-- the server; creating it needs the CREATE privilege on the database).
-- Worth it from some hundred thousand groups on; harmless below.
CREATE EXTENSION IF NOT EXISTS pg_trgm;
CREATE INDEX IF NOT EXISTS ix_element_group_name_trgm ON element_group USING gin (upper(element_group_name) gin_trgm_ops);
