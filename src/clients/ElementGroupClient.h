#pragma once

#include "ElementGroupTable.h"
#include "PropertyBindings.h"
#include "contracts/ElementGroupObject.h"

#include <memory>

namespace talv::clients {

// "TALV_ELGroupClient.CElementGroup": one element group with its members and references, as the
// record screen edits it (see contracts/ElementGroupObject.h and ElementGroupClass for the rules
// of a save). NewRecord takes the id from the database's sequence at once and makes the universal
// key from it. Save checks the name's length before anything is sent, then writes the group and
// its changed children in one transaction; nothing at all is sent when nothing changed.
class ElementGroupClient final : public ElementGroupObject
{
    Q_OBJECT
public:
    explicit ElementGroupClient(std::shared_ptr<const ElementGroupClass> groupClass, QObject *parent = nullptr);
    ~ElementGroupClient() override;

    QVariant property(const QString &name) const override;
    void setProperty(const QString &name, const QVariant &value) override;
    bool IsNew() const override;
    bool IsChanged() const override;
    void Refresh() override;

    bool Open(const QString &serverName, qint32 serverType) override;
    bool LoadByID(qint32 id) override;
    qint32 ID() const override;
    void Close() override;

    void NewRecord(bool flag, const QVariant &omitted) override;
    bool Save() override;
    void OverwriteOnNextSave() override;

    void BindControl(QWidget *control, const QString &controlProperty, const QString &groupProperty,
                     const QString &format) override;
    void Unbind(const QString &bindingName) override;
    RecordsetPtr GetLookup(const QString &lookupName, const QVariant &omitted, qint32 flag) override;

    ComponentCollection &Members() override;
    ComponentCollection &References() override;
    QString ComponentPropertiesXml() const override;

    // The names of the bindings in place.
    QStringList BindingNames() const { return m_bindings.names(); }

private:
    void requireServer() const;
    void requireSavableName() const;

    std::shared_ptr<const ElementGroupClass> m_class;
    std::unique_ptr<ElementGroupRow> m_row;
    PropertyBindings m_bindings;
};

} // namespace talv::clients
