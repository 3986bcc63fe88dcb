#include "RichTextControl.h"

#include "Error.h"
#include "FailureReport.h"
#include "RichTextEditorDialog.h"
#include "Speller.h"
#include "SpellingDialog.h"
#include "SpellingHighlighter.h"
#include "StoredText.h"
#include "TextLengthLimit.h"
#include "UiServices.h"

#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QToolTip>

namespace talv {

namespace {

const QString SpellingTitle = QStringLiteral("Spelling");
constexpr int MaxSuggestionsInMenu = 6;

QString oneLine(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return text.replace(lineBreak, QStringLiteral(" "));
}

[[noreturn]] void refuse(const QString &description)
{
    throw Error(Error::InvalidArgument, description);
}

} // namespace

RichTextControl::RichTextControl(QWidget *parent) : QTextEdit(parent), m_limit(new TextLengthLimit(*document(), this))
{
    setTabChangesFocus(true);
    connect(m_limit, &TextLengthLimit::cut, this, &RichTextControl::reportCut);
    // Formats the highlighter lays over the text report no content change; only real edits count.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed > 0 || added > 0)
            m_contentChanged = true;
    });
    // Connected after the limit, so Change comes once the limit has cut what it cuts.
    connect(document(), &QTextDocument::contentsChanged, this, &RichTextControl::onContentsChanged);
    SetSpeller(Speller::shared());
    applyMode();
}

RichTextControl::~RichTextControl() = default;

void RichTextControl::SetControlMode(int mode)
{
    runReported(unableTo(QStringLiteral("set ControlMode")), [&] {
        if (mode != PlainMode && mode != RichMode)
            refuse(QStringLiteral("%1 is not a control mode (0 plain text, 1 rich text).").arg(mode));
        m_controlMode = mode;
        applyMode();
    });
}

void RichTextControl::SetTextFormat(int format)
{
    runReported(unableTo(QStringLiteral("set TextFormat")), [&] {
        if (format != PlainFormat && format != RichFormat)
            refuse(QStringLiteral("%1 is not a text format (1 plain text, 4 rich text).").arg(format));
        m_textFormat = format;
        applyMode();
    });
}

int RichTextControl::MaxLength() const
{
    return m_limit->maximum();
}

void RichTextControl::SetMaxLength(int maxLength)
{
    runReported(unableTo(QStringLiteral("set MaxLength")), [&] {
        if (maxLength < 0)
            refuse(QStringLiteral("%1 is not a length (0 for no limit).").arg(maxLength));
        m_limit->setMaximum(maxLength);
    });
}

void RichTextControl::applyMode()
{
    const bool rich = isRich();
    setAcceptRichText(rich);
    // Stored HTML is read back as it was only while the field is rich.
    m_loadedValid = m_loadedValid && (rich || !isStoredHtml(m_loadedText));
    if (!rich && carriesFormatting(*document())) {
        m_loadedValid = false;
        setPlainText(toPlainText());
    }
}

QString RichTextControl::Text() const
{
    if (m_loadedValid && !document()->isModified())
        return m_loadedText;
    return isRich() && carriesFormatting(*document()) ? toHtml() : toPlainText();
}

void RichTextControl::SetText(const QString &text)
{
    if (text == Text())
        return;
    int cut = 0;
    const QMetaObject::Connection counting =
        connect(m_limit, &TextLengthLimit::cut, this, [&cut](int characters) { cut += characters; });
    {
        const QScopedValueRollback loading(m_loading, true);
        if (isRich() && isStoredHtml(text))
            setHtml(text);
        else
            setPlainText(text);
    }
    disconnect(counting);
    m_loadedText = text;
    m_loadedValid = cut == 0;
    m_contentChanged = false;
    emit Change();
}

void RichTextControl::SetMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    applyLineMode();
}

void RichTextControl::applyLineMode()
{
    if (m_multiLine) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return;
    }
    setLineWrapMode(QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(fontMetrics().lineSpacing() + 2 * int(document()->documentMargin()) + 2 * frameWidth());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void RichTextControl::SetSpeller(std::shared_ptr<Speller> speller)
{
    delete m_highlighter;
    m_highlighter = nullptr;
    m_speller = speller ? std::move(speller) : Speller::shared();
    if (m_speller->isAvailable())
        m_highlighter = new SpellingHighlighter(document(), m_speller);
}

void RichTextControl::onContentsChanged()
{
    if (m_limit->isCutting() || m_loading || !m_contentChanged)
        return;
    m_contentChanged = false;
    emit Change();
}

void RichTextControl::reportCut(int characters)
{
    UiServices::current().beep();
    const QString message = characters == 1
                                ? QStringLiteral("1 character was cut: this field holds at most %1 characters.")
                                      .arg(QLocale().toString(MaxLength()))
                                : QStringLiteral("%1 characters were cut: this field holds at most %2 characters.")
                                      .arg(QLocale().toString(characters), QLocale().toString(MaxLength()));
    QToolTip::showText(viewport()->mapToGlobal(cursorRect().bottomLeft()), message, this);
    emit TextCut(characters);
}

void RichTextControl::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    // A one-line field is one line of its font high.
    if (event->type() == QEvent::FontChange && !m_multiLine)
        applyLineMode();
}

void RichTextControl::keyPressEvent(QKeyEvent *event)
{
    // A one-line field leaves Enter to its window (the default button, say).
    if (!m_multiLine && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool RichTextControl::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || source->hasHtml() || QTextEdit::canInsertFromMimeData(source);
}

// Paste and drop both arrive here.
void RichTextControl::insertFromMimeData(const QMimeData *source)
{
    runReported(unableTo(QStringLiteral("insert the text")), [&] {
        // Formatted content goes in as Qt pastes it; words are cut to fit before they go in.
        const bool wordsOnly = !isRich() || !m_multiLine || (source->hasText() && !source->hasHtml());
        if (!wordsOnly) {
            QTextEdit::insertFromMimeData(source);
            return;
        }
        QString text = m_multiLine ? plainTextOf(*source) : oneLine(plainTextOf(*source));
        const int cut = m_limit->fit(text, textCursor());
        QMimeData words;
        words.setText(text);
        QTextEdit::insertFromMimeData(&words);
        if (cut > 0)
            reportCut(cut);
    });
}

void RichTextControl::contextMenuEvent(QContextMenuEvent *event)
{
    runReported(unableTo(QStringLiteral("show the menu")), [&] {
        const std::unique_ptr<QMenu> menu(createContextMenu(event->pos()));
        menu->exec(event->globalPos());
    });
}

QMenu *RichTextControl::createContextMenu(const QPoint &position)
{
    const QPoint documentPosition = position + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    QMenu *menu = createStandardContextMenu(documentPosition);
    addSpellingActions(*menu, position);
    if (m_enableEditor) {
        menu->addSeparator();
        QAction *editor = menu->addAction(QStringLiteral("Text &Editor..."));
        connect(editor, &QAction::triggered, this, [this] { LaunchEditor(m_tag); });
    }
    return menu;
}

void RichTextControl::addSpellingActions(QMenu &menu, const QPoint &position)
{
    if (!m_speller->isAvailable())
        return;
    const QTextCursor at = cursorForPosition(position);
    const QTextBlock block = at.block();
    const std::optional<WordSpan> span = wordAt(block.text(), at.positionInBlock());
    if (!span)
        return;
    const QString word = block.text().mid(span->start, span->length);
    if (m_speller->isCorrect(word))
        return;

    const int start = block.position() + int(span->start);
    const int end = start + int(span->length);
    QList<QAction *> actions;
    const QStringList suggestions = m_speller->suggestions(word).mid(0, MaxSuggestionsInMenu);
    for (const QString &suggestion : suggestions) {
        auto *replace = new QAction(suggestion, &menu);
        connect(replace, &QAction::triggered, this, [this, start, end, suggestion] {
            QTextCursor cursor(document());
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.insertText(suggestion);
        });
        actions.append(replace);
    }
    if (suggestions.isEmpty()) {
        auto *none = new QAction(QStringLiteral("(no suggestions)"), &menu);
        none->setEnabled(false);
        actions.append(none);
    }
    auto *add = new QAction(QStringLiteral("Add to Dictionary"), &menu);
    connect(add, &QAction::triggered, this, [speller = m_speller, word] {
        runReported(unableTo(QStringLiteral("add the word to the dictionary")),
                    [&] { speller->addToPersonalDictionary(word); });
    });
    actions.append(add);

    QAction *first = menu.actions().value(0);
    menu.insertActions(first, actions);
    menu.insertSeparator(first);
}

QWidget *RichTextControl::dialogParent()
{
    return m_parentForm ? m_parentForm.data() : window();
}

void RichTextControl::LaunchEditor(const QVariant &caption)
{
    runReported(unableTo(QStringLiteral("open the text editor")), [&] {
        if (!m_enableEditor)
            return;
        QString title = m_description.isEmpty() ? caption.toString() : m_description;
        if (title.isEmpty())
            title = QStringLiteral("Text Editor");
        RichTextEditorDialog dialog(*this, title, dialogParent());
        if (UiServices::current().execModal(dialog) != QDialog::Accepted)
            return;
        if (dialog.editor().Text() != Text())
            replaceContent(*dialog.editor().document());
    });
}

void RichTextControl::replaceContent(const QTextDocument &source)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    if (isRich())
        cursor.insertFragment(QTextDocumentFragment(&source));
    else
        cursor.insertText(source.toPlainText());
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void RichTextControl::CheckSpelling()
{
    runReported(unableTo(QStringLiteral("check the spelling")), [&] {
        UiServices &ui = UiServices::current();
        if (!m_speller->isAvailable()) {
            ui.messageBox(QStringLiteral("Spell check cannot run: ") + m_speller->unavailableReason(), MsgButtons::OK,
                          MsgIcon::Exclamation, SpellingTitle);
            return;
        }
        SpellingDialog dialog(*this, *m_speller, dialogParent());
        if (dialog.start()) {
            ui.execModal(dialog);
            if (!dialog.completed())
                return;
        }
        ui.messageBox(QStringLiteral("The spelling check is complete."), MsgButtons::OK, MsgIcon::Information,
                      SpellingTitle);
    });
}

void RichTextControl::DoCut()
{
    runReported(unableTo(QStringLiteral("cut the text")), [this] { cut(); });
}

void RichTextControl::DoCopy()
{
    runReported(unableTo(QStringLiteral("copy the text")), [this] { copy(); });
}

void RichTextControl::DoPaste()
{
    runReported(unableTo(QStringLiteral("paste the text")), [this] { paste(); });
}

} // namespace talv
