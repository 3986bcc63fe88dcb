#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <benchmark/benchmark.h>

namespace talv::bench {

// Runs one statement with its values bound in order; a refused statement ends the program, as a
// benchmark on a broken database measures nothing.
inline void execBound(QSqlQuery &q, const QString &sql, const QVariantList &values = {})
{
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec())
        qFatal("%s", qPrintable(sql));
}

// A group far larger than the sample's: `members` plants of their own and `references` references
// of their own, numbered from `firstChildId` so that several large groups fit in one database.
struct LargeGroup {
    qint32 id;
    QString name;
    int members;
    int references;
    qint32 firstChildId;
};

// Adds the group's elements, references, the group and its children in one transaction to a
// database with the schema and the sample's lookup rows.
inline void addLargeGroup(QSqlDatabase connection, const LargeGroup &group)
{
    connection.transaction();
    QSqlQuery q(connection);
    for (int i = 0; i < group.members; ++i) {
        const qint32 id = group.firstChildId + i;
        execBound(q, "INSERT INTO scientific_name (scientific_name_id, scientific_name) VALUES (?, ?)",
                  {id, QStringLiteral("Benchia species %1").arg(id)});
        execBound(q,
                  "INSERT INTO element_global (element_global_id, gname_id, element_category) VALUES (?, ?, 'Plant')",
                  {id, id});
    }
    for (int i = 0; i < group.references; ++i) {
        const qint32 id = group.firstChildId + i;
        execBound(q, "INSERT INTO reference (reference_id, reference_code, full_citation) VALUES (?, ?, ?)",
                  {id, QStringLiteral("BENCH%1").arg(id), QStringLiteral("Bench, A. Volume %1.").arg(id)});
    }
    execBound(q,
              "INSERT INTO element_group (element_group_id, element_group_name, d_element_group_type_id, "
              "d_group_member_type_id, org_unit_id, universal_key, rec_create_user, rec_create_date, "
              "rec_last_mod_user, rec_last_mod_date) VALUES (?, ?, 1, 1, 1, ?, 'bench', '2024-01-01 00:00:00', "
              "'bench', '2024-01-01 00:00:00')",
              {group.id, group.name, QStringLiteral("ELGRP%1").arg(group.id, 5, 10, QLatin1Char('0'))});
    for (int i = 0; i < group.members; ++i)
        execBound(q,
                  "INSERT INTO element_group_membership (element_group_id, element_global_id, display_order, "
                  "rec_create_user, rec_create_date) VALUES (?, ?, ?, 'bench', '2024-01-01 00:00:00')",
                  {group.id, group.firstChildId + i, i + 1});
    for (int i = 0; i < group.references; ++i)
        execBound(q,
                  "INSERT INTO element_group_reference (element_group_id, reference_id, display_order, "
                  "rec_create_user, rec_create_date) VALUES (?, ?, ?, 'bench', '2024-01-01 00:00:00')",
                  {group.id, group.firstChildId + i, i + 1});
    connection.commit();
}

// The floor of a save: what the element-group client must read to show a group (the group row,
// its members, its references, every value touched) and one version-checked UPDATE of one field
// in an immediate transaction, with bare QSqlQuery. `column` is a text column of element_group.
// One version-checked UPDATE of one text column of the group in an immediate transaction.
inline void bareOneUpdate(QSqlQuery &q, qint32 groupId, const QString &column, const QString &value, qint64 version)
{
    execBound(q, "BEGIN IMMEDIATE");
    execBound(q,
              QStringLiteral("UPDATE element_group SET %1 = ?, rec_last_mod_date = ?, version = version + 1 "
                             "WHERE element_group_id = ? AND version = ?")
                  .arg(column),
              {value, QStringLiteral("2024-01-02 00:00:00"), groupId, version});
    execBound(q, "COMMIT");
}

inline void bareReadsOneUpdate(QSqlDatabase db, qint32 groupId, const QString &column, const QString &value)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    qint64 version = 0;
    execBound(q, "SELECT * FROM element_group WHERE element_group_id = ?", {groupId});
    while (q.next()) {
        for (int f = 0; f < 18; ++f)
            benchmark::DoNotOptimize(q.value(f));
        version = q.value(17).toLongLong();
    }
    for (const char *table : {"element_group_membership", "element_group_reference"}) {
        execBound(q,
                  QStringLiteral("SELECT * FROM %1 WHERE element_group_id = ? ORDER BY display_order")
                      .arg(QLatin1String(table)),
                  {groupId});
        while (q.next()) {
            for (int f = 0; f < 7; ++f)
                benchmark::DoNotOptimize(q.value(f));
        }
    }
    bareOneUpdate(q, groupId, column, value, version);
}

} // namespace talv::bench
