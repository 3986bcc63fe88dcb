"""Splits the SQL script files of data/ into statements.

The files keep one rule so that any loader (this one, the C++ host) can split
them without parsing SQL: a statement ends at a line whose last non-blank
character is ";", and no other line ends with ";". Lines whose first non-blank
characters are "--" are comments and are dropped.
"""


def split_statements(text):
    """Answers the statements of a script, without their closing ';'."""
    statements, current = [], []
    for line in text.splitlines():
        stripped = line.strip()
        if not stripped or stripped.startswith("--"):
            continue
        current.append(line)
        if stripped.endswith(";"):
            statement = "\n".join(current).rstrip()
            statements.append(statement[:-1].rstrip())
            current = []
    if current:
        raise ValueError("script ends inside a statement: " + "\n".join(current)[:200])
    return statements


def read_statements(path):
    with open(path, encoding="utf-8") as f:
        return split_statements(f.read())
