#include "RecordsetValue.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace talv::internal {
namespace {

[[noreturn]] void mismatch(const QVariant &value, FieldType type, const QString &fieldName)
{
    throw Error(Error::TypeMismatch, QStringLiteral("The value \"%1\" cannot be stored in field \"%2\" of type %3.")
                                         .arg(displayText(value), fieldName)
                                         .arg(static_cast<int>(type)));
}

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

std::optional<qlonglong> toWhole(const QVariant &v)
{
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) >= 9.2e18)
            return std::nullopt;
        return static_cast<qlonglong>(d);
    }
    if (v.typeId() == QMetaType::ULongLong) {
        const qulonglong u = v.toULongLong();
        if (u > static_cast<qulonglong>(std::numeric_limits<qlonglong>::max()))
            return std::nullopt;
        return static_cast<qlonglong>(u);
    }
    if (isNumeric(v))
        return v.toLongLong();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1 : 0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const qlonglong n = v.toString().trimmed().toLongLong(&ok);
        if (ok)
            return n;
    }
    return std::nullopt;
}

std::optional<double> toReal(const QVariant &v)
{
    if (isNumeric(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const double d = QLocale::c().toDouble(v.toString().trimmed(), &ok);
        if (ok)
            return d;
    }
    return std::nullopt;
}

std::optional<bool> toBoolean(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (isNumeric(v))
        return v.toDouble() != 0.0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        const QString s = v.toString().trimmed().toLower();
        if (s == u"true" || s == u"yes" || s == u"-1" || s == u"1")
            return true;
        if (s == u"false" || s == u"no" || s == u"0")
            return false;
    }
    return std::nullopt;
}

QVariant toDate(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        const QString s = v.toString().trimmed();
        const QDate d = QDate::fromString(s, Qt::ISODate);
        if (d.isValid())
            return d;
        QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
        if (!dt.isValid())
            dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (dt.isValid())
            return dt;
    }
    return {};
}

} // namespace

bool isWholeNumberType(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::BigInt;
}

QVariant toFieldType(const QVariant &value, FieldType type, const QString &fieldName)
{
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Integer: {
        if (value.typeId() == QMetaType::Int)
            return value;
        const auto n = toWhole(value);
        if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max())
            mismatch(value, type, fieldName);
        return QVariant(static_cast<int>(*n));
    }
    case FieldType::BigInt: {
        if (value.typeId() == QMetaType::LongLong)
            return value;
        const auto n = toWhole(value);
        if (!n)
            mismatch(value, type, fieldName);
        return QVariant(static_cast<qlonglong>(*n));
    }
    case FieldType::Double: {
        if (value.typeId() == QMetaType::Double)
            return value;
        const auto d = toReal(value);
        if (!d)
            mismatch(value, type, fieldName);
        return QVariant(*d);
    }
    case FieldType::Boolean: {
        const auto b = toBoolean(value);
        if (!b)
            mismatch(value, type, fieldName);
        return QVariant(*b);
    }
    case FieldType::Date: {
        QVariant d = toDate(value);
        if (!d.isValid())
            mismatch(value, type, fieldName);
        return d;
    }
    case FieldType::VarChar:
        if (value.typeId() == QMetaType::QString)
            return value;
        if (value.typeId() == QMetaType::QByteArray)
            return QString::fromUtf8(value.toByteArray());
        if (value.canConvert<QString>())
            return displayText(value);
        mismatch(value, type, fieldName);
    }
    mismatch(value, type, fieldName);
}

bool holdsFieldType(const QVariant &value, FieldType type)
{
    switch (type) {
    case FieldType::Integer:
        return value.typeId() == QMetaType::Int;
    case FieldType::BigInt:
        return value.typeId() == QMetaType::LongLong;
    case FieldType::Double:
        return value.typeId() == QMetaType::Double;
    case FieldType::Boolean:
        return value.typeId() == QMetaType::Bool;
    case FieldType::VarChar:
        return value.typeId() == QMetaType::QString;
    case FieldType::Date:
        return value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
    }
    return false;
}

qint64 dateKey(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay(QTimeZone::utc()).toMSecsSinceEpoch();
    const QDateTime dt = value.toDateTime();
    // Wall-clock time: a date and a midnight date-time of the same day compare equal.
    return QDateTime(dt.date(), dt.time(), QTimeZone::utc()).toMSecsSinceEpoch();
}

int compareValues(const QVariant &stored, const QVariant &other, FieldType type)
{
    auto order = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
    switch (type) {
    case FieldType::Integer:
    case FieldType::BigInt:
        if (other.typeId() == QMetaType::Double)
            return order(stored.toDouble(), other.toDouble());
        return order(stored.toLongLong(), other.toLongLong());
    case FieldType::Double:
        return order(stored.toDouble(), other.toDouble());
    case FieldType::Boolean:
        return order(stored.toBool(), other.toBool());
    case FieldType::Date:
        return order(dateKey(stored), dateKey(other));
    case FieldType::VarChar:
        return QString::compare(stored.toString(), other.toString(), Qt::CaseInsensitive);
    }
    return 0;
}

QString displayText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

} // namespace talv::internal
