#pragma once

#include "SearchTestSupport.h"

#include "search/UserOptions.h"
#include "search/frmUserSearchSaveOpen.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace talv::test {

// The user's options straight from the tables, beside the screen, and the dialog scripts that
// answer the saved-search dialog as the user would.
class OptionTable
{
public:
    explicit OptionTable(SearchHost &host) : m_host(host) {}

    // The stored value, or a null text when the user has no such option.
    QString value(const QString &category, const QString &name, int userId = 1)
    {
        return select("option_value", {category, userId, name}, " AND o.option_name = ?").value(0);
    }

    QStringList names(const QString &category, int userId = 1)
    {
        QStringList found = select("option_name", {category, userId});
        found.sort();
        return found;
    }

    // Stores an option as another program might have; ids far above the ones the clients take.
    void store(const QString &category, const QString &name, const QString &value, int userId = 1)
    {
        rowsOf(
            m_host.db->database().connection(),
            "INSERT INTO user_option (user_option_id, user_option_category_id, user_id, option_name, option_value) "
            "VALUES (?, (SELECT user_option_category_id FROM user_option_category WHERE category_name = ?), ?, ?, ?)",
            {5000 + m_stored++, category, userId, name, value});
    }

private:
    QStringList select(const char *column, const QVariantList &values, const char *alsoWhere = "")
    {
        return rowsOf(m_host.db->database().connection(),
                      QStringLiteral("SELECT o.%1 FROM user_option o JOIN user_option_category c ON "
                                     "c.user_option_category_id = o.user_option_category_id "
                                     "WHERE c.category_name = ? AND o.user_id = ?%2")
                          .arg(QLatin1String(column), QLatin1String(alsoWhere)),
                      values);
    }

    SearchHost &m_host;
    int m_stored = 0;
};

inline QListWidgetItem *listItem(QDialog &dialog, const QString &text)
{
    auto *list = child<QListWidget>(&dialog, "lstUserSearches");
    for (int i = 0; list && i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return list->item(i);
    ADD_FAILURE() << "the list has no " << text.toStdString();
    return nullptr;
}

inline QStringList listed(QDialog &dialog)
{
    QStringList names;
    auto *list = child<QListWidget>(&dialog, "lstUserSearches");
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// Types a name and presses Save.
inline ScriptedUiServices::DialogScript typeName(const QString &name)
{
    return [name](QDialog &dialog) {
        child<QLineEdit>(&dialog, "txtSearchName")->setText(name);
        child<QPushButton>(&dialog, "cmdSave")->click();
    };
}

// Picks a listed name and presses the dialog's button (Save, Open or Delete).
inline ScriptedUiServices::DialogScript pickName(const QString &name)
{
    return [name](QDialog &dialog) {
        if (QListWidgetItem *item = listItem(dialog, name))
            item->listWidget()->setCurrentItem(item);
        child<QPushButton>(&dialog, "cmdSave")->click();
    };
}

inline ScriptedUiServices::DialogScript cancelDialog()
{
    return [](QDialog &dialog) { child<QPushButton>(&dialog, "cmdCancel")->click(); };
}

// The criteria as the user sees them: id, name, comparison index, type.
inline QStringList criteriaOf(const QWidget *screen)
{
    return {child<QLineEdit>(screen, "txtGroupID")->text(), child<QLineEdit>(screen, "txtGroupName")->text(),
            QString::number(child<QComboBox>(screen, "cboGroupNameComparison")->currentIndex()),
            child<QComboBox>(screen, "cboElementGroupType")->currentText()};
}

inline void enterCriteria(const QWidget *screen, const QString &id, const QString &name, int comparison,
                          const QString &type)
{
    child<QLineEdit>(screen, "txtGroupID")->setText(id);
    child<QLineEdit>(screen, "txtGroupName")->setText(name);
    child<QComboBox>(screen, "cboGroupNameComparison")->setCurrentIndex(comparison);
    auto *types = child<QComboBox>(screen, "cboElementGroupType");
    types->setCurrentIndex(types->findText(type));
}

inline void trigger(const QWidget *screen, const char *action)
{
    child<QAction>(screen, action)->trigger();
}

inline bool saveAsDefault(const QWidget *screen)
{
    return child<QAction>(screen, "mnuOptionsSaveDefault")->isChecked();
}

inline QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

inline const QStringList BlankCriteria{QString(), QString(), "0", QString()};

} // namespace talv::test
