#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QPushButton;

namespace talv {
class AppManager;
class ComponentCollection;
class ElementGroupObject;
class FlexGrid;
class Recordset;
} // namespace talv

namespace talv::details {

// One child list of the group (its members, its references): the grid that shows it beside the
// group object's collection that holds it. The grid is a view, the collection the truth; every
// change goes to both. One class, configured twice.
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
    struct Config {
        QString gridName;      // "fgElements"
        QString addButtonName; // "cmdAddElement"
        QString addCaption;
        QString removeButtonName; // "cmdRemoveElement"
        QString removeCaption;
        QString keyField;      // the load query's field that is each row's record key
        QList<Column> columns; // after the fixed selector column
        // The load query for a group id.
        std::function<QString(qint32 groupId)> loadSql;
        // Whether an empty answer is expected (members) or an error (references).
        bool emptyAnswerIsFine = true;
        QString loadErrorText; // "Error loading Elements Grid."
        std::function<ComponentCollection &(ElementGroupObject &)> children;
    };

    static Config membersConfig();
    static Config referencesConfig();

    explicit ChildListEditor(Config config, QWidget *parent = nullptr);

    FlexGrid *grid() const { return m_grid; }

    // Rebuilds the grid from the database for the group on screen; a failure is shown in a box
    // and leaves the rows written until then.
    void load(ElementGroupObject &group, qint32 listGroupId, AppManager &appManager);
    // Only the heading row.
    void clear();

private:
    void writeHeadings();
    void fillRows(Recordset &rows);

    Config m_config;
    FlexGrid *m_grid;
    QPushButton *m_add;
    QPushButton *m_remove;
};

} // namespace talv::details
