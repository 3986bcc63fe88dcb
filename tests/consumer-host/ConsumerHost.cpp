#include "ConsumerHost.h"

#include "clients/ServerDirectory.h"
#include "platform/Error.h"

#include <QMetaType>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace consumer {

namespace {

talv::FieldType fieldTypeOf(const QMetaType &type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::Short:
        return talv::FieldType::Integer;
    case QMetaType::LongLong:
        return talv::FieldType::BigInt;
    case QMetaType::Double:
        return talv::FieldType::Double;
    case QMetaType::Bool:
        return talv::FieldType::Boolean;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return talv::FieldType::Date;
    default:
        return talv::FieldType::VarChar;
    }
}

// This host's own reading of a query into the recordset the screens take.
talv::RecordsetPtr rowsOf(QSqlQuery &query)
{
    auto rows = std::make_shared<talv::Recordset>();
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        rows->AppendField(record.fieldName(i), fieldTypeOf(record.field(i).metaType()));
    rows->Open();
    while (query.next()) {
        QVariantList values;
        for (int i = 0; i < record.count(); ++i)
            values.append(query.value(i));
        rows->AddNew(values);
    }
    if (rows->RecordCount() > 0)
        rows->MoveFirst();
    return rows;
}

} // namespace

Views::Views()
{
    for (const char *code : {"EGP", "ELE", "REF"})
        m_entries.append(Entry(QString::fromLatin1(code)));
}

const talv::ViewEntry &Views::Item(qint32 index) const
{
    if (index < 1 || index > Count())
        throw talv::Error(talv::Error::InvalidArgument, QStringLiteral("No view %1").arg(index));
    return m_entries.at(index - 1);
}

QVariant Views::Entry::Item(const QString &key) const
{
    return key.compare(QStringLiteral("WORKING_LIST_TYPE"), Qt::CaseInsensitive) == 0 ? QVariant(m_code) : QVariant();
}

HostAppManager::HostAppManager(QSqlDatabase db, QString serverName, qint32 userId, QString userName)
    : m_db(std::move(db)), m_serverName(std::move(serverName)), m_userId(userId), m_userName(std::move(userName))
{}

qint32 HostAppManager::GetServerType()
{
    return talv::clients::SQLiteServer;
}

int HostAppManager::Message(const QString &messageId, const QStringList &arguments)
{
    messagesShown.append(messageId + u' ' + arguments.join(u','));
    return talv::Answer::OK;
}

talv::RecordsetPtr HostAppManager::CallGetQueryRSXML(const QString &sql)
{
    sqlSent.append(sql);
    // The screens write the older dialect's UNIQUE.
    static const QRegularExpression unique(QStringLiteral("^\\s*SELECT\\s+UNIQUE\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString statement = sql;
    statement.replace(unique, QStringLiteral("SELECT DISTINCT"));
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw talv::Error(talv::Error::Database, query.lastError().text());
    return rowsOf(query);
}

talv::RecordsetPtr HostAppManager::Auditing(const QString &tableName, qint32 recordId, const QString &columnName)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT * FROM AUDIT_TRAIL_VW WHERE RECORD_TABLE = ? AND RECORD_ID = ? AND (? = '' OR "
                                 "COLUMN_NAME = ?)"));
    for (const QVariant &value : {QVariant(tableName), QVariant(recordId), QVariant(columnName), QVariant(columnName)})
        query.addBindValue(value);
    if (!query.exec())
        throw talv::Error(talv::Error::Database, query.lastError().text());
    return rowsOf(query);
}

QString HostAppManager::GetOrgUnitCode(qint32 orgUnitId)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT org_unit_code FROM org_unit WHERE org_unit_id = ?"));
    query.addBindValue(orgUnitId);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

talv::RecordsetPtr HostAppManager::GetPrototypeRSForView(const QString &viewCode)
{
    const QString list = viewCode == QStringLiteral("EGP")   ? QStringLiteral("ELGroup_WL_VW")
                         : viewCode == QStringLiteral("REF") ? QStringLiteral("REFERENCE_WL_VW")
                                                             : QStringLiteral("ELEMENT_WL_VW");
    return CallGetQueryRSXML(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(list));
}

} // namespace consumer
