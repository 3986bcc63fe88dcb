// libFuzzer target for the persisted-recordset reader. Each input is tried as it is and re-sealed
// with a valid checksum, so that mutations reach the parser behind the checksum.
#include "platform/Recordset.h"
#include "platform/RecordsetStream.h"

#include <cstdint>

namespace {

void reopen(const QByteArray &bytes)
{
    talv::Recordset rs;
    try {
        rs.OpenFromStream(bytes);
    } catch (const talv::Error &) {
        return;
    }
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        for (int f = 0; f < rs.FieldCount(); ++f)
            (void)rs.Fields(f).Value();
    talv::Recordset again;
    again.OpenFromStream(rs.Save()); // a set that was read must write a stream that reads back
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    reopen(bytes);
    if (bytes.size() >= talv::internal::kStreamTrailerSize) {
        talv::internal::resealStream(bytes);
        reopen(bytes);
    }
    return 0;
}
