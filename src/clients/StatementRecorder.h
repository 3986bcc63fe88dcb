#pragma once

#include <QString>
#include <QStringList>

namespace talv::clients {

// Records the statements that saves send through SaveTransaction (BEGIN and COMMIT included), so
// that a test or a benchmark can check what a save wrote: "one UPDATE of the group and no child
// statement". One recorder at a time, on the UI thread; while none exists nothing is kept.
class StatementRecorder
{
public:
    StatementRecorder();
    ~StatementRecorder();
    StatementRecorder(const StatementRecorder &) = delete;
    StatementRecorder &operator=(const StatementRecorder &) = delete;

    const QStringList &statements() const { return m_statements; }
    // The statements that begin with `prefix` ("UPDATE element_group SET"), without regard to case.
    QStringList startingWith(const QString &prefix) const;
    void clear() { m_statements.clear(); }

    // Called for every statement a save sends.
    static void record(const QString &sql);

private:
    QStringList m_statements;
};

} // namespace talv::clients
