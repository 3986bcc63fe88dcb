#pragma once

#include "details/ELGroupDetails.h"
#include "details/RecordNavigator.h"

#include "contracts/ClassRegistry.h"
#include "contracts/ComponentCollection.h"
#include "contracts/ElementGroupObject.h"
#include "platform/FlexGrid.h"
#include "platform/LookupComboBox.h"
#include "platform/RichTextControl.h"
#include "support/ScreenHost.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace talv::test {

// The host's record screen, opened on the working list of element groups.
class DetailsHost : public ScreenHost
{
public:
    DetailsHost(std::unique_ptr<EngineDatabase> database, const QString &user) : ScreenHost(std::move(database), user)
    {
        details::RegisterDetailsScreen();
    }

    // Puts the groups into the working list of element groups, in this order.
    void listGroups(const QList<qint32> &ids)
    {
        lists.clear(groupsView);
        for (qint32 id : ids)
            lists.refreshRecord(groupsView, id, true);
    }

    // Opens the record screen on the working list, as a double-click on its row does.
    details::ELGroupDetails *open(qint32 id)
    {
        manager->setCurrentView(groupsView);
        manager->OpenDetails(groupsView, groupsView, id, QString(), RecordsetPtr());
        return shown();
    }

    // Opens the record screen on a new group, as the search's New... does.
    details::ELGroupDetails *openNew()
    {
        manager->setCurrentView(groupsView);
        manager->NewDetails(groupsView, groupsView, QStringLiteral("Element Group..."));
        return shown();
    }

    // The screen just opened, after the host's event loop ran once as it does before the user's
    // first key: the window is active and its shortcuts answer.
    details::ELGroupDetails *shown()
    {
        QPointer<details::ELGroupDetails> screen = qobject_cast<details::ELGroupDetails *>(manager->ActiveScreen());
        QApplication::processEvents();
        return screen;
    }

    // The working list's ids, in order.
    QStringList listedIds()
    {
        QStringList ids;
        RecordsetPtr list = lists.list(groupsView);
        for (qsizetype row = 0; row < list->RecordCount(); ++row)
            ids << list->ValueAt(row, list->FieldIndex(u"ID")).toString();
        return ids;
    }
};

inline QString textOf(const QObject *screen, const char *field)
{
    return child<QWidget>(screen, field)->property("Text").toString();
}

// Types into a text field as the user would: the field's text is replaced.
inline void typeInto(const QObject *screen, const char *field, const QString &text)
{
    auto *widget = child<QWidget>(screen, field);
    widget->setFocus();
    widget->setProperty("Text", QString());
    QTest::keyClicks(widget, text);
}

inline QString labelOf(const QObject *screen, const char *label)
{
    return child<QLabel>(screen, label)->text();
}

inline QString captionOf(const QWidget *screen)
{
    return screen->parentWidget() ? screen->parentWidget()->windowTitle() : screen->windowTitle();
}

// The grid's data rows, each as its cells after the selector column joined by "|".
inline QStringList gridRows(const FlexGrid &grid)
{
    QStringList rows;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 1; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

using DetailsHostTest = ScreenHostTest<DetailsHost>;

} // namespace talv::test
