#include "PropertyBindings.h"

#include "contracts/Component.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"

#include <QDateTime>
#include <QWidget>

#include <algorithm>

namespace talv::clients {

namespace {

// The widget's value as the business property takes it: empty text means no value.
QVariant toComponentValue(const QVariant &shown)
{
    if (!shown.isValid() || shown.isNull())
        return {};
    if (shown.typeId() == QMetaType::QString && shown.toString().isEmpty())
        return {};
    return shown;
}

// The component's value as the widget's property holds it; nothing becomes the type's empty value.
QVariant toControlValue(const QVariant &value, const QMetaProperty &property)
{
    if (property.metaType() == QMetaType::fromType<QVariant>())
        return value;
    if (!value.isValid() || value.isNull())
        return QVariant(property.metaType());
    QVariant converted = value;
    if (property.metaType() == QMetaType::fromType<QString>() && value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!converted.convert(property.metaType()))
        throw Error(Error::TypeMismatch, QStringLiteral("The value \"%1\" cannot be shown in property %2 of the field.")
                                             .arg(value.toString(), QString::fromLatin1(property.name())));
    return converted;
}

} // namespace

PropertyBindings::PropertyBindings(Component &component, QObject *parent) : QObject(parent), m_component(component)
{}

PropertyBindings::~PropertyBindings()
{
    unbind({});
}

QString PropertyBindings::bindingName(const QWidget *control, const QString &componentProperty)
{
    const QString name = control ? control->objectName() : QString();
    const bool prefixed = name.size() > 3 && name.at(0).isLower() && name.at(1).isLower() && name.at(2).isLower() &&
                          !name.at(3).isLower();
    return prefixed ? name.mid(3) : componentProperty;
}

void PropertyBindings::bind(QWidget *control, const QString &controlProperty, const QString &componentProperty)
{
    if (!control)
        throw Error(Error::InvalidArgument, QStringLiteral("There is no field to bind to %1.").arg(componentProperty));
    const QMetaObject *meta = control->metaObject();
    int index = meta->indexOfProperty(controlProperty.toLatin1().constData());
    // The screens name properties as their first platform did, without regard to case ("text").
    for (int i = 0; index < 0 && i < meta->propertyCount(); ++i) {
        if (QLatin1String(meta->property(i).name()).compare(controlProperty, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index < 0)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("The field %1 has no property \"%2\".").arg(control->objectName(), controlProperty));
    const QMetaProperty property = meta->property(index);
    if (!property.hasNotifySignal() || !property.isWritable())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Property \"%1\" of the field %2 cannot be bound: it must be writable and "
                                   "announce its changes.")
                        .arg(controlProperty, control->objectName()));
    m_component.property(componentProperty); // raises for an unknown business property

    const QString name = bindingName(control, componentProperty);
    unbind(name);
    Binding binding{name, control, property, componentProperty, {}};
    show(binding);
    // The notify signal is known only at run time, so the connection is made by meta-method.
    const QMetaMethod slot = staticMetaObject.method(staticMetaObject.indexOfSlot("controlChanged()"));
    binding.connection = connect(control, property.notifySignal(), this, slot);
    m_bindings.push_back(std::move(binding));
}

int PropertyBindings::unbind(const QString &bindingName)
{
    const auto removed = std::remove_if(m_bindings.begin(), m_bindings.end(), [&](const Binding &binding) {
        return bindingName.isEmpty() || binding.name.compare(bindingName, Qt::CaseInsensitive) == 0;
    });
    const int count = int(std::distance(removed, m_bindings.end()));
    for (auto it = removed; it != m_bindings.end(); ++it)
        disconnect(it->connection);
    m_bindings.erase(removed, m_bindings.end());
    return count;
}

void PropertyBindings::show(const Binding &binding)
{
    if (!binding.control)
        return;
    const QVariant value = toControlValue(m_component.property(binding.componentProperty), binding.property);
    m_showing = true;
    binding.property.write(binding.control, value);
    m_showing = false;
}

void PropertyBindings::showAll()
{
    for (const Binding &binding : m_bindings)
        show(binding);
}

QStringList PropertyBindings::names() const
{
    QStringList all;
    for (const Binding &binding : m_bindings)
        all.append(binding.name);
    return all;
}

void PropertyBindings::controlChanged()
{
    if (m_showing)
        return;
    const QObject *control = sender();
    const int signal = senderSignalIndex();
    for (const Binding &binding : m_bindings) {
        if (binding.control != control || binding.property.notifySignalIndex() != signal)
            continue;
        const FailureText failure = unableTo(QStringLiteral("change %1").arg(binding.componentProperty));
        const bool taken = runReported(failure, [&] {
            const QVariant edited = toComponentValue(binding.property.read(binding.control));
            if (edited.isNull() && m_component.property(binding.componentProperty).isNull())
                return;
            m_component.setProperty(binding.componentProperty, edited);
        });
        // A refused value leaves the field showing what the component holds.
        if (!taken)
            runReported(failure, [&] { show(binding); });
    }
}

} // namespace talv::clients
