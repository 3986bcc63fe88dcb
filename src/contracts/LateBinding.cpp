#include "LateBinding.h"

#include "AppManager.h"
#include "Component.h"
#include "ViewCollection.h"
#include "WinMan.h"
#include "platform/Error.h"
#include "platform/Recordset.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace talv::LateBinding {

namespace {

// QMetaMethod::invoke takes at most ten arguments.
constexpr int MaxArguments = 10;

QString className(const QObject *target)
{
    return QString::fromLatin1(target->metaObject()->className());
}

void requireTarget(const QObject *target, const QString &member)
{
    if (!target)
        throw Error(Error::MemberNotFound, QStringLiteral("Cannot reach member '%1': no object").arg(member));
}

// Public slots and invokables named `member`: exact spelling first, else any letter case.
std::vector<QMetaMethod> methodsNamed(const QObject *target, const QString &member)
{
    const QMetaObject *meta = target->metaObject();
    const QByteArray exact = member.toLatin1();
    std::vector<QMetaMethod> exactMatches;
    std::vector<QMetaMethod> caseMatches;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() != QMetaMethod::Public)
            continue;
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot)
            continue;
        if (method.name() == exact)
            exactMatches.push_back(method);
        else if (QString::fromLatin1(method.name()).compare(member, Qt::CaseInsensitive) == 0)
            caseMatches.push_back(method);
    }
    return exactMatches.empty() ? caseMatches : exactMatches;
}

bool isOutParameter(const QByteArray &typeName)
{
    return typeName.endsWith('&') && !typeName.startsWith("const ");
}

// moc records no metatype for a non-const reference parameter, nor for a pointer to a class the
// screen's header only declares, only its spelling; these are the spellings of the contract types
// hosts hand to screens.
void registerContractTypeNames()
{
    static const bool registered = [] {
        qRegisterMetaType<RecordsetPtr>("talv::RecordsetPtr");
        qRegisterMetaType<RecordsetPtr>("RecordsetPtr");
        qRegisterMetaType<AppManager *>("talv::AppManager*");
        qRegisterMetaType<WinMan *>("talv::WinMan*");
        qRegisterMetaType<ViewCollection *>("talv::ViewCollection*");
        qRegisterMetaType<Component *>("talv::Component*");
        return true;
    }();
    Q_UNUSED(registered);
}

// The metatype of a parameter; for a reference parameter the type named without the '&'.
QMetaType parameterType(const QMetaMethod &method, int index)
{
    QMetaType type = method.parameterMetaType(index);
    if (type.isValid())
        return type;
    registerContractTypeNames();
    QByteArray name = method.parameterTypes().at(index);
    if (name.endsWith('&'))
        name.chop(1);
    return QMetaType::fromName(name);
}

bool isNullArgument(const QVariant &value)
{
    return !value.isValid() || value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

// `value` as a `type`, or nothing when it does not convert.
std::optional<QVariant> converted(const QVariant &value, QMetaType type)
{
    if (type == QMetaType::fromType<QVariant>())
        return value;
    if (isNullArgument(value))
        return QVariant(type);
    if (value.metaType() == type)
        return value;
    QVariant copy = value;
    if (!copy.convert(type))
        return std::nullopt;
    return copy;
}

struct Candidate {
    QMetaMethod method;
    std::vector<QVariant> storage; // one converted argument per parameter
    int exactMatches = 0;
};

// Converts `args` for `method`; nothing when one of them does not convert.
std::optional<Candidate> prepare(const QMetaMethod &method, const QVariantList &args)
{
    Candidate candidate{method, {}, 0};
    candidate.storage.reserve(args.size());
    for (int i = 0; i < args.size(); ++i) {
        const QMetaType type = parameterType(method, i);
        if (!type.isValid())
            return std::nullopt;
        std::optional<QVariant> value = converted(args.at(i), type);
        if (!value)
            return std::nullopt;
        if (args.at(i).metaType() == type || type == QMetaType::fromType<QVariant>())
            ++candidate.exactMatches;
        candidate.storage.push_back(std::move(*value));
    }
    return candidate;
}

Candidate choose(const QObject *target, const QString &member, const QVariantList &args)
{
    const std::vector<QMetaMethod> named = methodsNamed(target, member);
    if (named.empty())
        throw Error(Error::MemberNotFound,
                    QStringLiteral("Object of class %1 has no member '%2'").arg(className(target), member));

    std::optional<Candidate> best;
    bool countMatched = false;
    for (const QMetaMethod &method : named) {
        if (method.parameterCount() != args.size())
            continue;
        countMatched = true;
        std::optional<Candidate> candidate = prepare(method, args);
        if (candidate && (!best || candidate->exactMatches > best->exactMatches))
            best = std::move(candidate);
    }
    if (!countMatched || args.size() > MaxArguments)
        throw Error(Error::MemberNotFound, QStringLiteral("Member '%1' of class %2 does not take %3 argument(s)")
                                               .arg(member, className(target))
                                               .arg(args.size()));
    if (!best)
        throw Error(
            Error::TypeMismatch,
            QStringLiteral("Type mismatch in the arguments of member '%1' of class %2").arg(member, className(target)));
    return std::move(*best);
}

QVariant invoke(QObject *target, const QString &member, Candidate &candidate)
{
    const QMetaMethod &method = candidate.method;
    const QList<QByteArray> typeNames = method.parameterTypes();

    std::array<QGenericArgument, MaxArguments> arguments{};
    for (size_t i = 0; i < candidate.storage.size(); ++i) {
        QVariant &value = candidate.storage[i];
        // A QVariant parameter takes the variant itself, any other the value it holds.
        void *data =
            method.parameterMetaType(int(i)) == QMetaType::fromType<QVariant>() || typeNames.at(int(i)) == "QVariant&"
                ? static_cast<void *>(&value)
                : value.data();
        arguments[i] = QGenericArgument(typeNames.at(int(i)).constData(), data);
    }

    const QMetaType returnType = method.returnMetaType();
    QVariant result;
    QGenericReturnArgument returnArgument;
    if (returnType == QMetaType::fromType<QVariant>()) {
        returnArgument = QGenericReturnArgument(method.typeName(), &result);
    } else if (returnType.isValid() && returnType.id() != QMetaType::Void) {
        result = QVariant(returnType);
        returnArgument = QGenericReturnArgument(method.typeName(), result.data());
    }

    const bool called =
        method.invoke(target, Qt::DirectConnection, returnArgument, arguments[0], arguments[1], arguments[2],
                      arguments[3], arguments[4], arguments[5], arguments[6], arguments[7], arguments[8], arguments[9]);
    if (!called)
        throw Error(Error::MemberNotFound,
                    QStringLiteral("Member '%1' of class %2 cannot be called").arg(member, className(target)));
    return result;
}

struct FoundProperty {
    std::optional<QMetaProperty> declared;
    QByteArray dynamicName;
};

FoundProperty findProperty(const QObject *target, const QString &name)
{
    requireTarget(target, name);
    const QMetaObject *meta = target->metaObject();
    const int exact = meta->indexOfProperty(name.toLatin1().constData());
    if (exact >= 0)
        return {meta->property(exact), {}};
    for (int i = 0; i < meta->propertyCount(); ++i) {
        if (QString::fromLatin1(meta->property(i).name()).compare(name, Qt::CaseInsensitive) == 0)
            return {meta->property(i), {}};
    }
    const QList<QByteArray> dynamicNames = target->dynamicPropertyNames();
    for (const QByteArray &dynamicName : dynamicNames) {
        if (QString::fromLatin1(dynamicName).compare(name, Qt::CaseInsensitive) == 0)
            return {std::nullopt, dynamicName};
    }
    throw Error(Error::MemberNotFound,
                QStringLiteral("Object of class %1 has no property '%2'").arg(className(target), name));
}

} // namespace

QVariant call(QObject *target, const QString &member, const QVariantList &args)
{
    QVariantList copy = args;
    return callByRef(target, member, copy);
}

QVariant callByRef(QObject *target, const QString &member, QVariantList &args)
{
    requireTarget(target, member);
    Candidate candidate = choose(target, member, args);
    QVariant result = invoke(target, member, candidate);

    const QList<QByteArray> typeNames = candidate.method.parameterTypes();
    for (int i = 0; i < args.size(); ++i) {
        if (isOutParameter(typeNames.at(i)))
            args[i] = candidate.storage[size_t(i)];
    }
    return result;
}

bool hasMember(const QObject *target, const QString &member, int argumentCount)
{
    if (!target)
        return false;
    const std::vector<QMetaMethod> named = methodsNamed(target, member);
    return std::any_of(named.cbegin(), named.cend(),
                       [argumentCount](const QMetaMethod &method) { return method.parameterCount() == argumentCount; });
}

QVariant property(const QObject *target, const QString &name)
{
    const FoundProperty found = findProperty(target, name);
    if (found.declared)
        return found.declared->read(target);
    return target->property(found.dynamicName.constData());
}

void setProperty(QObject *target, const QString &name, const QVariant &value)
{
    const FoundProperty found = findProperty(target, name);
    if (!found.declared) {
        target->setProperty(found.dynamicName.constData(), value);
        return;
    }
    const QMetaProperty &declared = *found.declared;
    if (!declared.isWritable())
        throw Error(Error::IllegalOperation,
                    QStringLiteral("Property '%1' of class %2 is read-only").arg(name, className(target)));
    const std::optional<QVariant> typed = converted(value, declared.metaType());
    if (!typed || !declared.write(target, *typed))
        throw Error(Error::TypeMismatch,
                    QStringLiteral("Type mismatch assigning property '%1' of class %2").arg(name, className(target)));
}

} // namespace talv::LateBinding
