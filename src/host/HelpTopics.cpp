#include "HelpTopics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QVariant>
#include <QWidget>

namespace talv::host {

HelpTopics::HelpTopics() : HelpTopics(defaultHelpFile())
{
    // Screens first, then the fields whose meaning a biologist is most likely to ask about.
    const struct {
        const char *name;
        qint32 topic;
    } standard[] = {
        {"ELGroupSearch", 100},       {"txtGroupID", 110},
        {"txtGroupName", 111},        {"cboGroupNameComparison", 112},
        {"cboElementGroupType", 113}, {"fgResults", 120},
        {"ELGroupDetails", 200},      {"ctrGroupName", 210},
        {"cboGroupType", 211},        {"cboNameType", 212},
        {"cboMemberType", 213},       {"ctrGroupDescription", 214},
        {"ctrEMGRange", 220},         {"ctrEMGHabitat", 221},
        {"ctrEMGEcology", 222},       {"ctrThreat", 223},
        {"ctrEMGStatus", 224},        {"ctrEMGTrend", 225},
        {"fgElements", 230},          {"fgReferences", 240},
        {"txtCurrentRecord", 250},    {"fgAuditLog", 300},
        {"RelatedRecordScreen", 30},
    };
    for (const auto &entry : standard)
        add(QString::fromLatin1(entry.name), entry.topic);
}

HelpTopics::HelpTopics(QString helpFile) : m_helpFile(std::move(helpFile))
{}

QString HelpTopics::defaultHelpFile()
{
    // Beside the program in the build folder; in the shared data folder once installed, found from
    // the program's own folder so that any installation prefix works.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString besideProgram = programFolder.filePath(QStringLiteral("help/talv-elgroup.html"));
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    return QDir::cleanPath(programFolder.filePath(QStringLiteral(TALV_HELP_FROM_PROGRAM "/talv-elgroup.html")));
}

void HelpTopics::add(const QString &objectName, qint32 topicId)
{
    m_topics.insert(objectName.toCaseFolded(), topicId);
}

std::optional<qint32> HelpTopics::topicOf(const QObject *object) const
{
    if (!object || object->objectName().isEmpty())
        return std::nullopt;
    const auto it = m_topics.constFind(object->objectName().toCaseFolded());
    return it == m_topics.cend() ? std::nullopt : std::optional<qint32>(it.value());
}

std::optional<qint32> HelpTopics::topicFor(const QWidget *hostedControl) const
{
    if (!hostedControl)
        return std::nullopt;
    // The focused widget is often an inner part (a grid's viewport, an editor's text area).
    const QObject *active = hostedControl->property("ActiveControl").value<QObject *>();
    for (const QObject *o = active; o && o != hostedControl; o = o->parent()) {
        if (const auto topic = topicOf(o))
            return topic;
    }
    return topicOf(hostedControl);
}

} // namespace talv::host
