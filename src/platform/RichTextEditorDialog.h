#pragma once

#include <QDialog>

namespace talv {

class RichTextControl;

// The larger editor window of a text field: a field of its own with the same mode, limit and
// spell check, and OK and Cancel. The field takes the text back only on OK.
class RichTextEditorDialog : public QDialog
{
    Q_OBJECT

public:
    RichTextEditorDialog(const RichTextControl &field, const QString &title, QWidget *parent = nullptr);

    // The field in the window ("ctrEditor").
    RichTextControl &editor() const { return *m_editor; }

private:
    RichTextControl *m_editor;
};

} // namespace talv
