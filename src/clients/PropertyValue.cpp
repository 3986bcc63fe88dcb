#include "PropertyValue.h"

#include "platform/Error.h"
#include "platform/RecordsetValue.h"

#include <QDateTime>

#include <optional>

namespace talv::clients {

namespace {

const QString IsoDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Stamps are wall-clock times without a zone, as the columns keep them. They are marked as UTC times
// so that neither making nor comparing one consults the time-zone rules, which cost a file
// lookup per value on Linux: a group with a thousand members carries two thousand of them.
QDateTime wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime asWallClock(const QDateTime &dateTime)
{
    return dateTime.timeSpec() == Qt::UTC ? dateTime : wallClock(dateTime.date(), dateTime.time());
}

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "yyyy-MM-dd" or "yyyy/MM/dd", then optionally " HH:mm:ss" (or "T" before the time) and a fraction
// of a second, which is dropped: the forms the databases answer and the record screen writes.
std::optional<QDateTime> parseStamp(QStringView s)
{
    if (s.size() < 10 || (s.at(4) != u'-' && s.at(4) != u'/') || s.at(7) != s.at(4))
        return std::nullopt;
    const QDate date(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
    if (!date.isValid())
        return std::nullopt;
    if (s.size() == 10)
        return wallClock(date, QTime(0, 0));
    if (s.size() < 19 || (s.at(10) != u' ' && s.at(10) != u'T') || s.at(13) != u':' || s.at(16) != u':')
        return std::nullopt;
    if (s.size() > 19 && s.at(19) != u'.')
        return std::nullopt;
    const QTime time(digits(s, 11, 2), digits(s, 14, 2), digits(s, 17, 2));
    if (!time.isValid())
        return std::nullopt;
    return wallClock(date, time);
}

QDateTime parseDate(const QString &text)
{
    const QString s = text.trimmed();
    if (const std::optional<QDateTime> stamp = parseStamp(s))
        return *stamp;
    const QDateTime other = QDateTime::fromString(s, Qt::ISODateWithMs);
    return other.isValid() ? asWallClock(other) : other;
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
            return asWallClock(value.toDateTime());
        if (value.typeId() == QMetaType::QDate)
            return wallClock(value.toDate(), QTime(0, 0));
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
    const QTime time = now.time();
    return wallClock(now.date(), QTime(time.hour(), time.minute(), time.second()));
}

} // namespace talv::clients
