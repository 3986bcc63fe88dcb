#include "BoundSql.h"

#include "clients/SaveTransaction.h"

#include "platform/Error.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace talv::host::sql {

namespace {

[[noreturn]] void fail(const QSqlError &error, const QString &fallback)
{
    const QString text = error.text().trimmed();
    throw Error(Error::Database, text.isEmpty() ? fallback : text);
}

FieldType fieldTypeFor(const QMetaType &type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return FieldType::Integer;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldType::BigInt;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Double;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return FieldType::Date;
    default:
        return FieldType::VarChar;
    }
}

} // namespace

QSqlQuery exec(const QSqlDatabase &db, const QString &statement, const QVariantList &values)
{
    if (!db.isOpen())
        throw Error(Error::Database, QStringLiteral("The connection to the database is closed."));
    return clients::execBound(db, statement, values, true);
}

RecordsetPtr toRecordset(QSqlQuery &query)
{
    auto rs = std::make_shared<Recordset>();
    const QSqlRecord layout = query.record();
    // SQLite hands out every whole number as 64 bits whatever the column was declared as, so its
    // whole-number fields are 64-bit too and no value needs converting.
    const bool sqlite = query.driver() && query.driver()->dbmsType() == QSqlDriver::SQLite;
    for (int f = 0; f < layout.count(); ++f) {
        const QSqlField field = layout.field(f);
        FieldType type = fieldTypeFor(field.metaType());
        if (sqlite && type == FieldType::Integer)
            type = FieldType::BigInt;
        rs->AppendField(field.name(), type, qMax(field.length(), 0));
    }
    rs->Open();
    QVariantList row(layout.count());
    while (query.next()) {
        for (int f = 0; f < layout.count(); ++f)
            row[f] = query.value(f);
        rs->AddNew(row);
    }
    if (query.lastError().isValid())
        fail(query.lastError(), QStringLiteral("The rows could not be read."));
    rs->MoveFirst();
    return rs;
}

RecordsetPtr recordset(const QSqlDatabase &db, const QString &statement, const QVariantList &values)
{
    QSqlQuery query = exec(db, statement, values);
    return toRecordset(query);
}

} // namespace talv::host::sql
