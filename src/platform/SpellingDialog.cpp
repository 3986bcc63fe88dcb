#include "SpellingDialog.h"

#include "FailureReport.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace talv {

namespace {

QPushButton *makeButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

SpellingDialog::SpellingDialog(QTextEdit &field, Speller &speller, QWidget *parent)
    : QDialog(parent), m_field(field), m_speller(speller), m_notInDictionary(new QLineEdit(this)),
      m_changeTo(new QLineEdit(this)), m_suggestions(new QListWidget(this)),
      m_change(makeButton(QStringLiteral("&Change"), QStringLiteral("cmdChange"), this))
{
    setObjectName(QStringLiteral("frmSpelling"));
    setWindowTitle(QStringLiteral("Spelling"));
    m_notInDictionary->setObjectName(QStringLiteral("txtNotInDictionary"));
    m_notInDictionary->setReadOnly(true);
    m_changeTo->setObjectName(QStringLiteral("txtChangeTo"));
    m_suggestions->setObjectName(QStringLiteral("lstSuggestions"));
    m_change->setDefault(true);
    QPushButton *ignoreButton = makeButton(QStringLiteral("&Ignore"), QStringLiteral("cmdIgnore"), this);
    QPushButton *add = makeButton(QStringLiteral("&Add to Dictionary"), QStringLiteral("cmdAdd"), this);
    QPushButton *cancel = makeButton(QStringLiteral("Cancel"), QStringLiteral("cmdCancel"), this);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Not in Dictionary:"), this), 0, 0);
    grid->addWidget(m_notInDictionary, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Change To:"), this), 1, 0);
    grid->addWidget(m_changeTo, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Suggestions:"), this), 2, 0, Qt::AlignTop);
    grid->addWidget(m_suggestions, 2, 1);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_change, ignoreButton, add, cancel})
        buttons->addWidget(button);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);
    setLayout(grid);

    connect(m_change, &QPushButton::clicked, this,
            [this] { runReported(unableTo(QStringLiteral("change the word")), [this] { change(); }); });
    connect(ignoreButton, &QPushButton::clicked, this,
            [this] { runReported(unableTo(QStringLiteral("ignore the word")), [this] { ignore(); }); });
    connect(add, &QPushButton::clicked, this, [this] {
        runReported(unableTo(QStringLiteral("add the word to the dictionary")), [this] { addToDictionary(); });
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_suggestions, &QListWidget::currentTextChanged, m_changeTo, &QLineEdit::setText);
    connect(m_suggestions, &QListWidget::itemDoubleClicked, this,
            [this] { runReported(unableTo(QStringLiteral("change the word")), [this] { change(); }); });
}

bool SpellingDialog::start()
{
    m_completed = false;
    m_ignored.clear();
    showNext(0);
    return !m_completed;
}

QString SpellingDialog::currentWord() const
{
    return m_notInDictionary->text();
}

void SpellingDialog::showNext(qsizetype from)
{
    const QString text = m_field.document()->toPlainText();
    const std::optional<WordSpan> next = m_speller.nextMisspelt(text, from, m_ignored);
    if (!next) {
        m_completed = true;
        accept();
        return;
    }
    m_current = *next;
    QTextCursor selection(m_field.document());
    selection.setPosition(int(m_current.start));
    selection.setPosition(int(m_current.start + m_current.length), QTextCursor::KeepAnchor);
    m_field.setTextCursor(selection);
    m_field.ensureCursorVisible();

    const QString word = text.mid(m_current.start, m_current.length);
    m_notInDictionary->setText(word);
    m_suggestions->clear();
    m_suggestions->addItems(m_speller.suggestions(word));
    if (m_suggestions->count() > 0)
        m_suggestions->setCurrentRow(0);
    else
        m_changeTo->setText(word);
    m_changeTo->setFocus();
    m_changeTo->selectAll();
}

void SpellingDialog::change()
{
    const QString replacement = m_changeTo->text();
    QTextCursor cursor(m_field.document());
    cursor.setPosition(int(m_current.start));
    cursor.setPosition(int(m_current.start + m_current.length), QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    // The cursor follows a cut by the field's length limit, so the walk goes on after what is there.
    showNext(cursor.position());
}

void SpellingDialog::ignore()
{
    m_ignored.insert(currentWord());
    showNext(m_current.start + m_current.length);
}

void SpellingDialog::addToDictionary()
{
    const qsizetype next = m_current.start + m_current.length;
    // Accepted for the session even when the personal file cannot be written; the failure is
    // still reported, and the walk goes on.
    try {
        m_speller.addToPersonalDictionary(currentWord());
    } catch (...) {
        showNext(next);
        throw;
    }
    showNext(next);
}

} // namespace talv
