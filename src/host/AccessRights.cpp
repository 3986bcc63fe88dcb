#include "AccessRights.h"

#include "BoundSql.h"

#include <QAbstractButton>
#include <QAction>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>

#include <algorithm>

namespace talv::host {

namespace {

QString fold(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

const QString kAny = QStringLiteral("*");

bool mentionsOwnThings(const QString &text)
{
    static const QRegularExpression ownThings(QStringLiteral("search|list"), QRegularExpression::CaseInsensitiveOption);
    return ownThings.match(text).hasMatch();
}

QStringList labelsOf(const QObject &object)
{
    QStringList labels{object.objectName()};
    if (const auto *action = qobject_cast<const QAction *>(&object))
        labels << action->text() << action->toolTip();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(&object))
        labels << button->text() << button->toolTip();
    else if (const auto *widget = qobject_cast<const QWidget *>(&object))
        labels << widget->toolTip();
    return labels;
}

void switchOff(QObject &object, bool hide)
{
    if (auto *action = qobject_cast<QAction *>(&object)) {
        action->setEnabled(false);
        if (hide)
            action->setVisible(false);
    } else if (auto *widget = qobject_cast<QWidget *>(&object)) {
        widget->setEnabled(false);
        if (hide)
            widget->setVisible(false);
    }
}

} // namespace

AccessRights::AccessRights(const QSqlDatabase &db, qint32 userId)
{
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("SELECT form_name, control_name, access_level FROM user_access "
                                           "WHERE user_id = ?"),
                            {userId});
    while (q.next())
        m_rows.insert({fold(q.value(0).toString()), fold(q.value(1).toString())}, q.value(2).toString().trimmed());
}

AccessRights::AccessRights(QHash<std::pair<QString, QString>, QString> rows)
{
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        m_rows.insert({fold(it.key().first), fold(it.key().second)}, it.value());
}

const QString *AccessRights::find(const QString &screen, const QString &control) const
{
    const auto it = m_rows.constFind({screen, control});
    return it == m_rows.cend() ? nullptr : &it.value();
}

QString AccessRights::letter(const QString &screenName, const QString &controlName) const
{
    const QString screen = fold(screenName);
    const QString control = fold(controlName);
    for (const auto &[s, c] :
         {std::pair{screen, control}, std::pair{screen, kAny}, std::pair{kAny, control}, std::pair{kAny, kAny}}) {
        if (const QString *found = find(s, c))
            return m_databaseReadOnly && *found == Full ? ReadOnly : *found;
    }
    return None;
}

bool AccessRights::allowsWriting() const
{
    return !m_databaseReadOnly && std::any_of(m_rows.cbegin(), m_rows.cend(), [](const QString &access) {
        return access.compare(Full, Qt::CaseInsensitive) == 0;
    });
}

bool AccessRights::namesControl(const QString &screenName, const QString &controlName) const
{
    const QString control = fold(controlName);
    return !control.isEmpty() && control != kAny && (find(fold(screenName), control) || find(kAny, control));
}

WriteKind writeKind(const QObject &object)
{
    const QVariant marked = object.property("writeCommand");
    if (marked.isValid()) {
        if (marked.toString().compare(QStringLiteral("own"), Qt::CaseInsensitive) == 0)
            return WriteKind::OwnData;
        return marked.toBool() ? WriteKind::SharedData : WriteKind::None;
    }

    static const QRegularExpression writes(
        QStringLiteral("^(cmd(New|Save|Delete|Add|Remove|Copy)|mnu(FileNew|FileSave|FileDelete|EditDelete|ToolsCopy))"
                       ".*$|^(New|Save|Delete)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keeps(QStringLiteral("^(cmd|mnuFile|mnuEdit)?(Save|Delete)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression searches(QStringLiteral("search"), QRegularExpression::CaseInsensitiveOption);
    const QString name = object.objectName();
    if (!writes.match(name).hasMatch())
        return WriteKind::None;
    const QStringList labels = labelsOf(object);
    if (std::none_of(labels.cbegin(), labels.cend(), mentionsOwnThings))
        return WriteKind::SharedData;
    // A saved search is stored; the working list and the criteria live in memory.
    const bool keepsSearch = keeps.match(name).hasMatch() &&
                             std::any_of(labels.cbegin(), labels.cend(),
                                         [](const QString &label) { return searches.match(label).hasMatch(); });
    return keepsSearch ? WriteKind::OwnData : WriteKind::None;
}

void applySecurity(const AccessRights &rights, QWidget *control, const QString &screenName, const QObjectList &children)
{
    const QString screen = screenName.isEmpty() && control ? control->objectName() : screenName;

    QList<QObject *> all;
    QSet<QObject *> seen;
    const auto collect = [&](QObject *object) {
        if (object && !seen.contains(object)) {
            seen.insert(object);
            all.append(object);
        }
    };
    const QObjectList roots = children.isEmpty() && control ? QObjectList{control} : children;
    for (QObject *root : roots) {
        if (!root)
            continue;
        if (root != control)
            collect(root);
        const QList<QObject *> below = root->findChildren<QObject *>();
        for (QObject *object : below)
            collect(object);
    }

    for (QObject *object : std::as_const(all)) {
        const QString name = object->objectName();
        if (name.isEmpty() || !(qobject_cast<QAction *>(object) || object->isWidgetType()))
            continue;
        const QString access = rights.letter(screen, name);
        const WriteKind writes = writeKind(*object);
        const bool mayNotWrite = (writes == WriteKind::SharedData && access != AccessRights::Full) ||
                                 (writes == WriteKind::OwnData && rights.databaseReadOnly());
        if (mayNotWrite || (access != AccessRights::Full && rights.namesControl(screen, name)))
            switchOff(*object, access == AccessRights::None);
    }
}

} // namespace talv::host
