#pragma once

#include <QString>

#include <exception>

namespace talv {

// The one exception type of the library: a number and a description, as the screens report them.
class Error : public std::exception
{
public:
    // Numbers used by our own layers; hosts may raise any other number.
    // The recordset numbers follow the data-access library the screens were first written
    // against, so a host that shows "#number" shows the familiar ones.
    enum Code : int {
        Generic = 1000,
        InvalidArgument = 3001,   // a bad criterion, position, bookmark or field definition
        NoCurrentRecord = 3021,   // BOF or EOF is true, or the current record was deleted
        IllegalOperation = 3219,  // not allowed in the recordset's present state
        FieldNotFound = 3265,     // no field of that name or position
        TypeMismatch = 3421,      // a value that the field's type cannot hold
        ObjectClosed = 3704,      // the recordset is closed
        CorruptStream = 3800,     // a persisted stream that cannot be read back
        ClassNotRegistered = 429, // no factory for a class name
        MemberNotFound = 438,     // late-bound call to a member the object lacks
        Xml = 5000,
        Database = 6000,
    };

    Error(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// The description of any caught exception, for handlers that report "Unable to ..." boxes.
QString describe(const std::exception &e);

} // namespace talv
