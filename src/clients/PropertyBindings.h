#pragma once

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace talv {
class Component;
}

namespace talv::clients {

// Binds Qt properties of widgets to business properties of one component: the widget shows the
// component's value, and each change the widget announces through its property's notify signal
// is written back into the component. Any widget property with a notify signal will do (a line
// edit's text, a text field's Text, a combo box's bound value); names match exactly if they can,
// else without regard to case.
//
// A binding is named after its widget without the widget's three-letter type prefix
// ("cboGroupType" gives "GroupType"), or after the business property when the widget has no
// such name; binding a name again replaces the earlier binding. An empty text from a widget is
// written as an empty (null) value, so a field that was empty stays unchanged. A value that the
// business property cannot hold is refused with a message box and leaves the component as it was.
class PropertyBindings : public QObject
{
    Q_OBJECT
public:
    explicit PropertyBindings(Component &component, QObject *parent = nullptr);
    ~PropertyBindings() override;

    // Raises talv::Error (InvalidArgument) for a null widget or a property it lacks or cannot
    // announce changes of; MemberNotFound for an unknown business property.
    void bind(QWidget *control, const QString &controlProperty, const QString &componentProperty);
    // Removes the binding of that name, or every binding for an empty name; widgets keep what they
    // show. Answers how many were removed.
    int unbind(const QString &bindingName);
    // Shows the component's current values again (after a load or a refresh).
    void showAll();
    QStringList names() const;

    static QString bindingName(const QWidget *control, const QString &componentProperty);

private slots:
    // Connected to each bound widget's notify signal.
    void controlChanged();

private:
    struct Binding {
        QString name;
        QPointer<QWidget> control;
        QMetaProperty property;
        QString componentProperty;
        QMetaObject::Connection connection;
    };
    void show(const Binding &binding);

    Component &m_component;
    std::vector<Binding> m_bindings;
    bool m_showing = false; // a widget announcing the value it was just given is no edit
};

} // namespace talv::clients
