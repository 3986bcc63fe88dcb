#include "PropertyValue.h"

#include "platform/Error.h"
#include "platform/RecordsetValue.h"

#include <QDateTime>

namespace talv::clients {

namespace {

const QString IsoDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QDateTime parseDate(const QString &text)
{
    const QString s = text.trimmed();
    for (const QString &format : {IsoDateTime, QStringLiteral("yyyy/MM/dd HH:mm:ss")}) {
        const QDateTime dt = QDateTime::fromString(s, format);
        if (dt.isValid())
            return dt;
    }
    for (const QString &format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy/MM/dd")}) {
        const QDate d = QDate::fromString(s, format);
        if (d.isValid())
            return d.startOfDay();
    }
    return QDateTime::fromString(s, Qt::ISODateWithMs);
}

[[noreturn]] void mismatch(const QVariant &value, const PropertyInfo &property)
{
    throw Error(Error::TypeMismatch,
                QStringLiteral("The value \"%1\" does not suit property %2.").arg(value.toString(), property.name));
}

} // namespace

QVariant toPropertyValue(const QVariant &value, const PropertyInfo &property)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (property.type) {
    case FieldType::Integer:
    case FieldType::BigInt: {
        bool ok = false;
        const qlonglong whole =
            value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok) : value.toLongLong(&ok);
        if (!ok)
            mismatch(value, property);
        return whole;
    }
    case FieldType::Date: {
        if (value.typeId() == QMetaType::QDateTime)
            return value;
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().startOfDay();
        const QDateTime dt = parseDate(value.toString());
        if (!dt.isValid())
            mismatch(value, property);
        return dt;
    }
    case FieldType::VarChar:
        if (!value.canConvert<QString>())
            mismatch(value, property);
        return value.toString();
    case FieldType::Double:
    case FieldType::Boolean:
        return internal::toFieldType(value, property.type, property.name);
    }
    mismatch(value, property);
}

QVariant fromColumnValue(const QVariant &value, const PropertyInfo &property)
{
    return toPropertyValue(value, property);
}

QVariant toColumnValue(const QVariant &value, const PropertyInfo &property)
{
    switch (property.type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        return value.isNull() ? QVariant(QMetaType::fromType<qlonglong>()) : value;
    case FieldType::Date:
        return value.isNull() ? QVariant(QMetaType::fromType<QString>())
                              : QVariant(value.toDateTime().toString(IsoDateTime));
    case FieldType::VarChar:
        return value.isNull() ? QVariant(QMetaType::fromType<QString>()) : value;
    case FieldType::Double:
        return value.isNull() ? QVariant(QMetaType::fromType<double>()) : value;
    case FieldType::Boolean:
        return value.isNull() ? QVariant(QMetaType::fromType<bool>()) : value;
    }
    return value;
}

QDateTime stampNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

} // namespace talv::clients
