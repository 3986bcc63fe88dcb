#include "TextFieldSetup.h"

#include "contracts/AppManager.h"
#include "contracts/LateBinding.h"
#include "platform/Error.h"
#include "platform/FlexGrid.h"
#include "platform/RichTextControl.h"
#include "platform/UiServices.h"

#include <QLineEdit>
#include <QWidget>

namespace talv::details {

const QString TextFieldSetup::ConfigurationSql =
    QStringLiteral("SELECT  SYSTEM_CONTROL.CONTROL_NAME ,SYSTEM_CONTROL.IS_RICH_TEXT, SYSTEM_CONTROL.MAX_WIDTH") +
    QStringLiteral(" FROM SYSTEM_CONTROL") + QStringLiteral(" WHERE (SYSTEM_CONTROL.CONTROL_TYPE = 'TextBox'") +
    QStringLiteral(" OR SYSTEM_CONTROL.CONTROL_TYPE = 'RichTextControl')") +
    QStringLiteral(" AND SYSTEM_CONTROL.FORM_NAME = '");

namespace {

QObject *findNamed(const QObjectList &controls, const QString &name)
{
    for (QObject *control : controls)
        if (control && control->objectName() == name)
            return control;
    return nullptr;
}

} // namespace

void TextFieldSetup::apply(const QObjectList &window, const QString &screenName, const QObjectList &controls)
{
    try {
        QObject *parent = !window.isEmpty() && window.first() ? window.first()->parent() : nullptr;
        if (screenName.isEmpty() && !parent)
            throw Error(Error::InvalidArgument, QStringLiteral("no screen was given"));
        const QString name = screenName.isEmpty() ? parent->objectName() : screenName;
        // The name is the screen's own, never the user's: it goes in as it is.
        const RecordsetPtr rows = m_state.appManager->CallGetQueryRSXML(ConfigurationSql + name + QStringLiteral("'"));
        const QObjectList searched = screenName.isEmpty() ? parent->findChildren<QObject *>() : controls;
        if (rows->RecordCount() == 0)
            return;
        rows->MoveFirst();
        while (!rows->IsEOF() && !rows->IsBOF()) {
            const QString controlName = rows->Value(QStringLiteral("CONTROL_NAME")).toString();
            QObject *control = findNamed(searched, controlName);
            if (!control)
                throw Error(Error::MemberNotFound, QStringLiteral("The screen has no control %1.").arg(controlName));
            if (auto *field = qobject_cast<RichTextControl *>(control)) {
                const bool rich = rows->Value(QStringLiteral("IS_RICH_TEXT")).toString() == QLatin1String("Y");
                field->SetControlMode(rich ? RichTextControl::RichMode : RichTextControl::PlainMode);
                field->SetTextFormat(rich ? RichTextControl::RichFormat : RichTextControl::PlainFormat);
                field->SetEnableEditor(true);
            }
            const QVariant width = rows->Value(QStringLiteral("MAX_WIDTH"));
            if (!width.isNull() && width.toInt() > 0)
                LateBinding::setProperty(control, QStringLiteral("MaxLength"), width.toInt());
            else
                UiServices::current().messageBox(QStringLiteral("ERROR: Max length not set for ") + controlName,
                                                 MsgButtons::OK, MsgIcon::Critical,
                                                 QStringLiteral("Rich Text: Data Error"));
            rows->MoveNext();
        }
    } catch (const std::exception &) {
        // A configuration that does not fit the screen leaves the rest of the fields as designed.
    }
}

void TextFieldSetup::launchEditor(QWidget *focused, QWidget *holder)
{
    if (auto *field = qobject_cast<RichTextControl *>(focused)) {
        field->SetParentForm(holder);
        field->LaunchEditor(field->Tag());
    } else if (auto *grid = qobject_cast<FlexGrid *>(focused)) {
        m_state.appManager->PopupEdit(grid);
    }
}

void TextFieldSetup::checkSpelling(QWidget *focused)
{
    if (auto *field = qobject_cast<RichTextControl *>(focused))
        field->CheckSpelling();
}

void TextFieldSetup::clipboard(QWidget *focused, const QString &keys)
{
    if (auto *field = qobject_cast<RichTextControl *>(focused)) {
        if (keys == QLatin1String("^X"))
            field->DoCut();
        else if (keys == QLatin1String("^C"))
            field->DoCopy();
        else
            field->DoPaste();
    } else if (qobject_cast<QLineEdit *>(focused)) {
        UiServices::current().sendKeys(keys);
    }
}

} // namespace talv::details
