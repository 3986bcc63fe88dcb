#pragma once

#include "Speller.h"

#include <QDialog>
#include <QSet>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace talv {

// Walks the misspelt words of a text field from its start, one at a time, selecting each in the
// field: Change replaces it with the text of "Change To" (a suggestion, or the user's own),
// Ignore passes over it and its repeats, Add to Dictionary accepts it from now on, Cancel stops
// and keeps what was changed. The dialog closes itself (accepted) after the last word.
class SpellingDialog : public QDialog
{
    Q_OBJECT

public:
    SpellingDialog(QTextEdit &field, Speller &speller, QWidget *parent = nullptr);

    // Finds the first misspelt word; false when there is none (nothing to show).
    bool start();
    // True once every word was dealt with (not cancelled).
    bool completed() const { return m_completed; }
    // The word on show.
    QString currentWord() const;

    void change();
    void ignore();
    void addToDictionary();

private:
    // Shows the next misspelt word at or after `from`, or closes the dialog when there is none.
    void showNext(qsizetype from);
    void chooseSuggestion();

    QTextEdit &m_field;
    Speller &m_speller;
    QLineEdit *m_notInDictionary;
    QLineEdit *m_changeTo;
    QListWidget *m_suggestions;
    QPushButton *m_change;
    QSet<QString> m_ignored;
    WordSpan m_current;
    bool m_completed = false;
};

} // namespace talv
