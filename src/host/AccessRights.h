#pragma once

#include <QHash>
#include <QObjectList>
#include <QSqlDatabase>
#include <QString>

class QObject;
class QWidget;

namespace talv::host {

// A user's rights from user_access: an access letter per screen (form_name) and control or menu
// (control_name), "*" standing for every screen or every control. Read once per session.
//
// The most specific row wins, in this order: the screen and the control; the screen with "*";
// "*" with the control; "*" with "*". A user without any matching row has no access ("N").
// Names match without regard to case.
class AccessRights
{
public:
    static inline const QString Full = QStringLiteral("F");
    static inline const QString ReadOnly = QStringLiteral("R");
    static inline const QString None = QStringLiteral("N");

    // No rights at all.
    AccessRights() = default;
    AccessRights(const QSqlDatabase &db, qint32 userId);
    // Rights given directly, for a host without the table.
    explicit AccessRights(QHash<std::pair<QString, QString>, QString> rows);

    QString letter(const QString &screenName, const QString &controlName) const;
    // Whether a row names this control itself (for this screen or for every screen).
    bool namesControl(const QString &screenName, const QString &controlName) const;

    // A database open for reading only grants nothing beyond "R", whatever the rows say, and the
    // user's own things (saved searches) cannot be written either.
    void setDatabaseReadOnly(bool readOnly) { m_databaseReadOnly = readOnly; }
    bool databaseReadOnly() const { return m_databaseReadOnly; }
    // Whether any screen or control is granted "F".
    bool allowsWriting() const;

private:
    const QString *find(const QString &screen, const QString &control) const;

    QHash<std::pair<QString, QString>, QString> m_rows; // keys case-folded
    bool m_databaseReadOnly = false;
};

// What a command writes when it runs.
enum class WriteKind {
    None,      // nothing, or only what lives in memory (the working list, the criteria)
    OwnData,   // the user's own stored things (saved searches), which any reader may keep
    SharedData // the shared data (element groups), which needs the right to write
};

// What `object` (a widget or an action of a screen) writes: the rule that ApplySecurity uses to
// switch writing off for a user who may only read, and in a database open for reading only.
//
// 1. A dynamic property "writeCommand" on the object decides when the screen sets one: true
//    (SharedData), false (None) or "own" (OwnData).
// 2. Otherwise its objectName decides: cmdNew*, cmdSave*, cmdDelete*, cmdAdd*, cmdRemove*,
//    cmdCopy*, mnuFileNew*, mnuFileSave*, mnuFileDelete*, mnuEditDelete*, mnuToolsCopy*, and the
//    toolbar keys "New", "Save" and "Delete" write the shared data.
// 3. Except commands about the user's own searches and working list, which any reader may use:
//    for a name, caption or tooltip that mentions "Search" or "List" (mnuFileSaveSearch, "&New
//    Search", cmdAddToList ...), saving or deleting a search writes OwnData, the rest nothing.
WriteKind writeKind(const QObject &object);

// Applies the rights to the screen `control` named `screenName` (its objectName when empty): the
// objects in `children` and everything below them (below `control` when `children` is empty).
// - A command that writes SharedData is switched off unless the user's letter for it is "F";
//   one that writes OwnData only when the database is open for reading only.
// - Any other widget or action that a row names by itself is switched off when that row says
//   "R" or "N".
// Switched off means disabled, and also hidden for "N". Nothing is ever switched on, so a
// screen's own enabling stays as it was.
void applySecurity(const AccessRights &rights, QWidget *control, const QString &screenName,
                   const QObjectList &children);

} // namespace talv::host
