#pragma once

#include <QHash>
#include <QString>

#include <optional>

class QObject;
class QWidget;

namespace talv::host {

// Help topics of the hosted screens, keyed by the objectName of the control the user is in, and
// the help file they point into.
class HelpTopics
{
public:
    // The standard topics, in the help file shipped beside the program.
    HelpTopics();
    explicit HelpTopics(QString helpFile);

    const QString &helpFile() const { return m_helpFile; }
    void add(const QString &objectName, qint32 topicId);

    // The topic of the hosted control's active child (its Qt property "ActiveControl"), else of the
    // nearest container between that child and the hosted control, else of the hosted control
    // itself; nothing when none has one.
    std::optional<qint32> topicFor(const QWidget *hostedControl) const;

    // <program folder>/help/talv-elgroup.html, else the installed help (share/talv-elgroup/help).
    static QString defaultHelpFile();

private:
    std::optional<qint32> topicOf(const QObject *object) const;

    QString m_helpFile;
    QHash<QString, qint32> m_topics;
};

} // namespace talv::host
