#pragma once

#include <QPointer>
#include <QTextEdit>

#include <memory>

class QMenu;

namespace talv {

class Speller;
class SpellingHighlighter;
class TextLengthLimit;

// The screens' text field, on Qt's rich-text editing: plain or formatted text, a length limit
// that holds however the text arrives, misspelt words underlined as the user types (with
// suggestions in the context menu), a larger editor window and a spelling dialog.
//
// Text is what the field stores: in rich mode HTML when the text carries formatting and plain
// text otherwise; in plain mode always plain text. What was set stays what is read until the
// text is edited, so loading a record never changes it.
class RichTextControl : public QTextEdit
{
    Q_OBJECT
    // 1: formatted text can be typed and pasted; 0: plain text only.
    Q_PROPERTY(int ControlMode READ ControlMode WRITE SetControlMode)
    // The form of Text: 4 HTML when formatted, 1 plain text. The field is rich only when both
    // ControlMode and TextFormat say so.
    Q_PROPERTY(int TextFormat READ TextFormat WRITE SetTextFormat)
    // Whether the larger editor window is offered.
    Q_PROPERTY(bool EnableEditor READ EnableEditor WRITE SetEnableEditor)
    // Characters as the user sees them; 0: no limit.
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    // The window that owns the editor and spelling windows (default: the field's own window).
    Q_PROPERTY(QWidget *ParentForm READ ParentForm WRITE SetParentForm)
    Q_PROPERTY(QString Tag READ Tag WRITE SetTag)
    Q_PROPERTY(QString Text READ Text WRITE SetText NOTIFY Change USER true)
    // false: one line; Enter does not break the line and pasted line breaks become spaces.
    Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
    // The field's name for the user ("Range Comments"): the title of its editor window.
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)

public:
    static constexpr int PlainMode = 0;
    static constexpr int RichMode = 1;
    static constexpr int PlainFormat = 1;
    static constexpr int RichFormat = 4;

    explicit RichTextControl(QWidget *parent = nullptr);
    ~RichTextControl() override;

    // Setters refuse a value out of range with a message box and keep the value they had.
    int ControlMode() const { return m_controlMode; }
    void SetControlMode(int mode);
    int TextFormat() const { return m_textFormat; }
    void SetTextFormat(int format);
    bool EnableEditor() const { return m_enableEditor; }
    void SetEnableEditor(bool enable) { m_enableEditor = enable; }
    int MaxLength() const;
    // Text beyond a lower limit is cut from the end.
    void SetMaxLength(int maxLength);
    QWidget *ParentForm() const { return m_parentForm; }
    void SetParentForm(QWidget *form) { m_parentForm = form; }
    QString Tag() const { return m_tag; }
    void SetTag(const QString &tag) { m_tag = tag; }
    QString Text() const;
    // Loads a stored text: HTML (as the field stores it) in rich mode, else plain text, even
    // when it holds "<" or "&". Clears the undo history.
    void SetText(const QString &text);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool multiLine);
    QString Description() const { return m_description; }
    void SetDescription(const QString &description) { m_description = description; }

    bool isRich() const { return m_controlMode == RichMode && m_textFormat == RichFormat; }

    // The speller the field checks with (default: the shared one of the system dictionary).
    const std::shared_ptr<Speller> &speller() const { return m_speller; }
    void SetSpeller(std::shared_ptr<Speller> speller);

    // Opens the editor window titled by Description, else by `caption`; OK puts its text in the
    // field. Nothing happens while EnableEditor is false.
    Q_INVOKABLE void LaunchEditor(const QVariant &caption);
    // Walks the misspelt words in the spelling dialog; says so when spell check cannot run.
    Q_INVOKABLE void CheckSpelling();
    Q_INVOKABLE void DoCut();
    Q_INVOKABLE void DoCopy();
    Q_INVOKABLE void DoPaste();

    // The menu a right click at `position` (viewport coordinates) shows: suggestions and "Add to
    // Dictionary" for a misspelt word there, the editing commands, the editor window. The caller
    // owns it.
    QMenu *createContextMenu(const QPoint &position);

signals:
    // Text changed: typed, pasted, dropped, set, or cut by the limit.
    void Change();
    // The limit cut `characters` characters of an edit.
    void TextCut(int characters);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void applyMode();
    void applyLineMode();
    void reportCut(int characters);
    void onContentsChanged();
    void addSpellingActions(QMenu &menu, const QPoint &position);
    QWidget *dialogParent();
    // Replaces the whole text as one undoable edit.
    void replaceContent(const QTextDocument &source);

    TextLengthLimit *m_limit;
    SpellingHighlighter *m_highlighter = nullptr;
    std::shared_ptr<Speller> m_speller;
    QPointer<QWidget> m_parentForm;
    QString m_tag;
    QString m_description;
    int m_controlMode = RichMode;
    int m_textFormat = RichFormat;
    bool m_enableEditor = false;
    bool m_multiLine = true;
    // What SetText loaded, answered by Text until the user edits (the document then reports
    // itself modified): a stored text read back unchanged, whatever Qt would write for it.
    QString m_loadedText;
    bool m_loadedValid = false;
    bool m_loading = false;
    bool m_contentChanged = false;
};

} // namespace talv
