#include "RichTextEditorDialog.h"

#include "RichTextControl.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace talv {

RichTextEditorDialog::RichTextEditorDialog(const RichTextControl &field, const QString &title, QWidget *parent)
    : QDialog(parent), m_editor(new RichTextControl(this))
{
    setObjectName(QStringLiteral("frmTextEditor"));
    setWindowTitle(title);
    m_editor->setObjectName(QStringLiteral("ctrEditor"));
    m_editor->SetSpeller(field.speller());
    // The text goes in before the limit, which already holds for it.
    m_editor->SetControlMode(field.ControlMode());
    m_editor->SetTextFormat(field.TextFormat());
    m_editor->SetMultiLine(field.MultiLine());
    m_editor->SetText(field.Text());
    m_editor->SetMaxLength(field.MaxLength());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(buttons);
    resize(640, field.MultiLine() ? 420 : 160);
    m_editor->setFocus();
    m_editor->moveCursor(QTextCursor::End);
}

} // namespace talv
