// The record screen's child lists and editing aids: what hosts and tests call on the two child
// grids, the property changes of their rows, and the text fields' tools.
#include "ELGroupDetails.h"

#include "ChildListEditor.h"
#include "RecordForm.h"
#include "TextFieldSetup.h"

#include "contracts/Component.h"
#include "platform/Error.h"
#include "platform/FailureReport.h"
#include "platform/FocusedField.h"

#include <QAction>

namespace talv::details {

QWidget *ELGroupDetails::editedField()
{
    if (QWidget *field = m_focusedField->restore())
        return field;
    return ActiveControl();
}

void ELGroupDetails::LoadElementsGrid()
{
    m_members->load();
}

void ELGroupDetails::LoadReferencesGrid()
{
    m_references->load();
}

void ELGroupDetails::AddElementMember(qint32 lngElementID, const QString &strSciName, const QString &strComName)
{
    runReported(unableTo(QStringLiteral("add the element")), [&] {
        m_members->addChild(lngElementID, {strSciName, strComName});
    });
}

void ELGroupDetails::AddGroupReference(qint32 lngReferenceID, const QString &strCode, const QString &strCitation)
{
    runReported(unableTo(QStringLiteral("add the reference")), [&] {
        m_references->addChild(lngReferenceID, {strCode, strCitation});
    });
}

qint32 ELGroupDetails::GetSelectedElementID() const
{
    return m_members->selectedKey();
}

void ELGroupDetails::RenumberDisplayOrder(FlexGrid *grid, ComponentCollection *children, const QString &strKeyName,
                                          const QString &strUserName)
{
    runReported(unableTo(QStringLiteral("number the rows")), [&] {
        if (!grid || !children)
            throw Error(Error::InvalidArgument, QStringLiteral("no grid or no collection was given"));
        ChildListEditor::renumberDisplayOrder(
            *grid, *children, strKeyName, strUserName,
            [this](Component *child, const QString &property, const QString &value, const QString &user) {
                return UpdateProperty(child, property, value, user);
            });
    });
}

int ELGroupDetails::FindGridRow(FlexGrid *grid, const QString &strColKey, const QString &strValue) const
{
    return grid ? ChildListEditor::findGridRow(*grid, strColKey, strValue) : -1;
}

void ELGroupDetails::ApplyRichText(const QObjectList &Window, const QString &UserControlName,
                                   const QObjectList &UserControlControls)
{
    m_textFields->apply(Window, UserControlName, UserControlControls);
}

void ELGroupDetails::LaunchTextEditor()
{
    if (!command(QStringLiteral("mnuToolsTextEditor"))->isEnabled())
        return;
    runReported(unableTo(QStringLiteral("open the text editor")),
                [&] { m_textFields->launchEditor(editedField(), containingWindow(this)); });
}

void ELGroupDetails::CheckSpellingActive()
{
    if (!command(QStringLiteral("mnuToolsSpellcheck"))->isEnabled())
        return;
    runReported(unableTo(QStringLiteral("check the spelling")), [&] { m_textFields->checkSpelling(editedField()); });
}

void ELGroupDetails::CutFocusedText()
{
    runReported(unableTo(QStringLiteral("cut the text")),
                [&] { m_textFields->clipboard(editedField(), QStringLiteral("^X")); });
}

void ELGroupDetails::CopyFocusedText()
{
    runReported(unableTo(QStringLiteral("copy the text")),
                [&] { m_textFields->clipboard(editedField(), QStringLiteral("^C")); });
}

void ELGroupDetails::PasteFocusedText()
{
    runReported(unableTo(QStringLiteral("paste the text")),
                [&] { m_textFields->clipboard(editedField(), QStringLiteral("^V")); });
}

bool ELGroupDetails::UpdateProperty(Component *objComponent, const QString &strPropertyName, const QString &strNewValue,
                                    const QString &strUserName)
{
    bool changed = false;
    runReported(unableTo(QStringLiteral("change %1").arg(strPropertyName)), [&] {
        if (!objComponent)
            throw Error(Error::InvalidArgument, QStringLiteral("no component was given"));
        if (objComponent->property(strPropertyName).toString() == strNewValue)
            return;
        objComponent->setProperty(strPropertyName, strNewValue);
        objComponent->setProperty(QStringLiteral("RecLastModUser"), strUserName);
        changed = true;
    });
    return changed;
}

} // namespace talv::details
