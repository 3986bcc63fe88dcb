#pragma once

#include "DetailsState.h"

#include "platform/FailureReport.h"
#include "platform/Recordset.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QPushButton;

namespace talv {
class Component;
class ComponentCollection;
class ElementGroupObject;
class FlexGrid;
} // namespace talv

namespace talv::details {

// One child list of the group (its members, its references): the grid that shows it beside the
// group object's collection that holds it. The grid is a view, the collection the truth; every
// change goes to both, in the same order. One class, configured twice.
class ChildListEditor : public QWidget
{
    Q_OBJECT
public:
    struct Column {
        QString key;
        QString heading;
        int widthTwips = 0;
        bool hidden = false;
        QString field;    // the field of the load query that fills it
        bool nullAsEmpty; // a null shows as empty text; otherwise a null is an error
    };
    // A picked row's field that becomes a cell of a new row.
    struct PickedField {
        QString field;    // in the search's selection set
        bool nullAsEmpty; // as in Column
    };
    struct Config {
        QString gridName;      // "fgElements"
        QString addButtonName; // "cmdAddElement"
        QString addCaption;
        QString removeButtonName; // "cmdRemoveElement"
        QString removeCaption;
        QString keyField;      // the load query's field that is each row's record key
        QString keyProperty;   // the child's property holding that key ("ElementGlobalID")
        QList<Column> columns; // after the fixed selector column; the first one holds the key
        std::function<QString(qint32 groupId)> loadSql;
        bool emptyAnswerIsFine = true; // members; for references an empty answer is an error
        QString loadErrorText;         // "Error loading Elements Grid."
        std::function<ComponentCollection &(ElementGroupObject &)> children;
        // Adding through a modal search.
        QString searchClass;
        QString searchCaption; // followed by the caption of the screen's window
        std::function<RecordsetPtr(AppManager &)> emptySelection;
        QList<PickedField> picked; // the selection set's fields for the columns after the key
        FailureText addFailure;
        // Opening a child's own screen on a double-click.
        QString detailsView;
        QString detailsCaption;
        bool opensWithoutSelection; // members open element -1 when nothing is selected
    };
    // What the editor asks of the screen around it.
    struct Screen {
        std::function<ElementGroupObject *()> group;
        // The screen's UpdateProperty: changes a child's property and its last modifier.
        std::function<bool(Component *, const QString &, const QString &, const QString &)> updateProperty;
        // The extra text for the search (the kind of elements to offer).
        std::function<QString()> searchExtraText;
    };

    static Config membersConfig();
    static Config referencesConfig();
    // The element search's extra text for a member type: "Botanical" offers plants and so on.
    static QString elementKindFor(const QString &memberType);

    ChildListEditor(Config config, DetailsState &state, Screen screen, QWidget *parent = nullptr);

    FlexGrid *grid() const { return m_grid; }

    // Rebuilds the grid from the database for the group on screen; a failure is shown in a box
    // and leaves the rows written until then.
    void load();
    // Only the heading row.
    void clear();

    // The add command: the user picks children in a modal search; each new one joins both.
    void addThroughSearch();
    // Adds one child to the collection and one row to the grid, each only if it is not there yet.
    void addChild(qint32 id, const QStringList &cells);
    // Removes the selected rows and their children; nothing is written until the group is saved.
    void removeSelected();
    // Every child's DisplayOrder becomes its row's position, 1 from the top.
    void renumber();
    // Moves the selected rows one place up (-1) or down (+1), as a drag would.
    void moveSelected(int step);
    // The double-click: the child's own screen.
    void openSelected();
    // The key in the first selected row, or -1 when none is selected.
    qint32 selectedKey() const;

    // The first data row whose cell in the column `columnKey` reads `value` exactly, or -1.
    static int findGridRow(const FlexGrid &grid, const QString &columnKey, const QString &value);
    // Every row's child gets DisplayOrder = its position (rows from the top, 1 first); only
    // changed values are written, through `updateProperty`.
    static void renumberDisplayOrder(
        const FlexGrid &grid, ComponentCollection &children, const QString &keyProperty, const QString &userName,
        const std::function<bool(Component *, const QString &, const QString &, const QString &)> &updateProperty);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void writeHeadings();
    void fillRows(Recordset &rows);
    bool mayEdit() const;
    ComponentCollection &children() const;

    Config m_config;
    DetailsState &m_state;
    Screen m_screen;
    FlexGrid *m_grid;
    QPushButton *m_add;
    QPushButton *m_remove;
    QAction *m_moveUp;
    QAction *m_moveDown;
};

} // namespace talv::details
