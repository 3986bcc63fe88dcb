#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class QObject;

namespace talv::LateBinding {

// Calls the public slot or Q_INVOKABLE `member` of `target` by name, for screens hosted from
// libraries we do not link against. The name is matched exactly, else without regard to case;
// among its overloads the one taking args.size() arguments is called (default arguments count as
// overloads), preferring the one whose parameter types match the arguments most exactly. Each
// argument is converted to its parameter's type; an empty QVariant passes the type's default
// (an omitted argument, a null pointer). Answers the return value, or an empty QVariant for void.
// A missing member or no overload with that many arguments raises talv::Error(MemberNotFound);
// an argument that does not convert raises TypeMismatch. Exceptions of the member pass through.
QVariant call(QObject *target, const QString &member, const QVariantList &args = {});

// Like call(), and afterwards each argument bound to a non-const reference parameter holds the
// value the member left in it. The type of such a parameter must be known to QMetaType by the name
// the member spells it with (qRegisterMetaType<T>("Name")); talv::RecordsetPtr is.
QVariant callByRef(QObject *target, const QString &member, QVariantList &args);

// Whether `target` has a callable `member` taking `argumentCount` arguments.
bool hasMember(const QObject *target, const QString &member, int argumentCount);

// Qt properties (declared or dynamic) by name, matched like members. An unknown name raises
// MemberNotFound; a value that does not convert raises TypeMismatch; writing a read-only property
// raises IllegalOperation.
QVariant property(const QObject *target, const QString &name);
void setProperty(QObject *target, const QString &name, const QVariant &value);

} // namespace talv::LateBinding
