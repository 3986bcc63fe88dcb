#include "QueryService.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace talv::host {

namespace {

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

QString QueryService::AdaptDialect(const QString &sql)
{
    static const QRegularExpression selectUnique(QStringLiteral("^(\\s*SELECT\\s+)UNIQUE\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QString adapted = sql;
    const auto match = selectUnique.match(adapted);
    if (match.hasMatch())
        adapted.replace(match.capturedStart(0), match.capturedLength(0), match.captured(1) + QStringLiteral("DISTINCT"));
    return adapted;
}

RecordsetPtr QueryService::Run(const QString &sql) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(AdaptDialect(sql)))
        throw Error(Error::Database, query.lastError().text());

    auto rs = std::make_shared<Recordset>();
    const QSqlRecord layout = query.record();
    for (int f = 0; f < layout.count(); ++f) {
        const QSqlField field = layout.field(f);
        rs->AppendField(field.name(), fieldTypeFor(field.metaType()), qMax(field.length(), 0));
    }
    rs->Open();
    QVariantList row(layout.count());
    while (query.next()) {
        for (int f = 0; f < layout.count(); ++f)
            row[f] = query.value(f);
        rs->AddNew(row);
    }
    if (query.lastError().isValid())
        throw Error(Error::Database, query.lastError().text());
    rs->MoveFirst();
    return rs;
}

} // namespace talv::host
