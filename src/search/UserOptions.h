#pragma once

#include "contracts/Names.h"

#include <QString>

#include <memory>

namespace talv {
class Component;
class ComponentCollection;
} // namespace talv

// The user's options (stored searches and screen defaults) as the search screens reach them: a
// component collection of the host's user-option class, created by class name.
namespace talv::search {

inline const QString DefaultPropertiesCategory = QStringLiteral("$DEFAULT_FIND_PROPERTIES");
inline const QString DefaultCriteriaCategory = QStringLiteral("$DEFAULT_FIND_CRITERIA");
inline const QString UserSearchCategory = QStringLiteral("$USER_FIND_ELEMENT_GROUP");

// What the option name column holds; a longer name could never be stored.
constexpr int MaxOptionNameLength = 120;

// Whose options, on which server.
struct OptionOwner {
    QString serverName;
    qint32 serverType = 0;
    qint32 userId = 0;
};

// A collection of `className` bound to the owner's server. Raises talv::Error when the class is
// not registered or the server refuses it.
std::unique_ptr<ComponentCollection> openCollection(const OptionOwner &owner, const QString &className);

// One option looked up by category, name and owner. `lookupName` has its quotes doubled already.
class OptionLookup
{
public:
    // Raises talv::Error only when the collection cannot be created or bound; a lookup the server
    // refuses answers loaded() false with the reason in error().
    OptionLookup(const OptionOwner &owner, const QString &category, const QString &lookupName);
    ~OptionLookup();

    bool loaded() const { return m_loaded; }
    const QString &error() const { return m_error; }
    bool found() const;
    // The first option found; only when found().
    Component &option() const;
    ComponentCollection &collection() const { return *m_options; }

private:
    std::unique_ptr<ComponentCollection> m_options;
    bool m_loaded = false;
    QString m_error;
};

// Stores a new option of the owner: created on its own, handed to its category's option list and
// written by saving the category. Raises talv::Error when the category does not exist or the save
// fails; nothing is stored then.
void addNewOption(const OptionOwner &owner, const QString &category, const QString &optionName, const QString &value);

// Writes a changed option through the collection that loaded it; raises talv::Error on failure.
void saveAll(ComponentCollection &collection);

} // namespace talv::search
