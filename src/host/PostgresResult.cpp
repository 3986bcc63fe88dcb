#include "PostgresResult.h"

#include "platform/Error.h"
#include "platform/RecordsetAppender.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <libpq-fe.h>

#include <charconv>
#include <memory>
#include <vector>

namespace talv::host {

namespace {

// The server's type ids (pg_type.oid) that Qt's driver maps to something other than text.
enum TypeOid : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    RegprocOid = 24,
    OidOid = 26,
    XidOid = 28,
    CidOid = 29,
    Float4Oid = 700,
    Float8Oid = 701,
    AbstimeOid = 702,
    ReltimeOid = 703,
    DateOid = 1082,
    TimeOid = 1083,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    TimeTzOid = 1266,
    BitOid = 1560,
    VarbitOid = 1562,
    NumericOid = 1700,
};

constexpr int kVarHeaderSize = 4; // the server counts a varchar(n)'s declared size with its header

// How a column's values are read, by the field type Qt's driver gives the column.
enum class Reading { Text, Whole, Real, Boolean, Date, Time, Timestamp, Bytes };

struct ColumnPlan {
    Reading reading;
    FieldType type;
    int definedSize;
};

ColumnPlan planFor(const PGresult *result, int column)
{
    const Oid oid = PQftype(result, column);
    int size = PQfsize(result, column);
    const int modifier = PQfmod(result, column);
    switch (oid) {
    case NumericOid:
        if (modifier != -1)
            size = modifier >> 16;
        break;
    case BitOid:
    case VarbitOid:
        size = modifier;
        break;
    case TimestampOid:
    case TimestampTzOid:
        break;
    default:
        if (size == -1 && modifier >= kVarHeaderSize)
            size = modifier - kVarHeaderSize;
    }
    size = std::max(size, 0);
    switch (oid) {
    case BoolOid:
        return {Reading::Boolean, FieldType::Boolean, size};
    case Int8Oid:
        return {Reading::Whole, FieldType::BigInt, size};
    case Int2Oid:
    case Int4Oid:
    case OidOid:
    case RegprocOid:
    case XidOid:
    case CidOid:
        return {Reading::Whole, FieldType::Integer, size};
    case NumericOid:
    case Float4Oid:
    case Float8Oid:
        return {Reading::Real, FieldType::Double, size};
    case AbstimeOid:
    case ReltimeOid:
    case DateOid:
        return {Reading::Date, FieldType::Date, size};
    case TimeOid:
    case TimeTzOid:
        return {Reading::Time, FieldType::VarChar, size};
    case TimestampOid:
    case TimestampTzOid:
        return {Reading::Timestamp, FieldType::Date, size};
    case ByteaOid:
        return {Reading::Bytes, FieldType::VarChar, size};
    default:
        return {Reading::Text, FieldType::VarChar, size};
    }
}

template <typename Number> bool parses(const char *text, int length, Number &value)
{
    const auto [end, error] = std::from_chars(text, text + length, value);
    return error == std::errc() && end == text + length;
}

void appendValue(RecordsetAppender &out, Reading reading, const char *text, int length)
{
    switch (reading) {
    case Reading::Text:
        out.AppendUtf8(text, length);
        return;
    case Reading::Whole:
        if (qint64 value = 0; parses(text, length, value))
            out.AppendWhole(value);
        else // converted, or refused, as any value of the wrong kind
            out.AppendUtf8(text, length);
        return;
    case Reading::Real: // the server's "Infinity", "-Infinity" and "NaN" parse too
        if (double value = 0; parses(text, length, value))
            out.AppendReal(value);
        else
            out.AppendUtf8(text, length);
        return;
    case Reading::Boolean:
        out.AppendValue(QVariant(length > 0 && text[0] == 't'));
        return;
    case Reading::Date:
        out.AppendValue(QDate::fromString(QLatin1StringView(text, length), Qt::ISODate));
        return;
    case Reading::Time:
        out.AppendValue(QTime::fromString(QLatin1StringView(text, length), Qt::ISODate));
        return;
    case Reading::Timestamp:
        // A time with a zone is shown in the local zone; one without stays the wall-clock time it was.
        out.AppendValue(QDateTime::fromString(QLatin1StringView(text, length), Qt::ISODate).toLocalTime());
        return;
    case Reading::Bytes: {
        size_t size = 0;
        std::unique_ptr<unsigned char, decltype(&PQfreemem)> bytes(
            PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size), &PQfreemem);
        out.AppendValue(QByteArray(reinterpret_cast<const char *>(bytes.get()), qsizetype(size)));
        return;
    }
    }
}

} // namespace

RecordsetPtr recordsetFromResult(const pg_result *result)
{
    const int fields = PQnfields(result);
    auto rs = std::make_shared<Recordset>();
    std::vector<Reading> readings;
    readings.reserve(size_t(fields));
    for (int f = 0; f < fields; ++f) {
        const ColumnPlan plan = planFor(result, f);
        rs->AppendField(QString::fromUtf8(PQfname(result, f)), plan.type, plan.definedSize);
        readings.push_back(plan.reading);
    }
    rs->Open();

    RecordsetAppender out(*rs);
    const int rows = PQntuples(result);
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < fields; ++f) {
            if (PQgetisnull(result, r, f))
                out.AppendNull();
            else
                appendValue(out, readings[size_t(f)], PQgetvalue(result, r, f), PQgetlength(result, r, f));
        }
        out.EndRow();
    }
    rs->MoveFirst();
    return rs;
}

} // namespace talv::host
