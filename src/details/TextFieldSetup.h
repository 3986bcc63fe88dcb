#pragma once

#include "DetailsState.h"

#include <QObjectList>
#include <QString>

class QWidget;

namespace talv::details {

// The record screen's text fields as the database configures them (rich or plain text, their
// length limits) and the editing aids that act on the field with the focus: the larger editor,
// spell check, cut, copy and paste.
class TextFieldSetup
{
public:
    static const QString ConfigurationSql; // the query, up to the screen's name

    explicit TextFieldSetup(DetailsState &state) : m_state(state) {}

    // Applies the SYSTEM_CONTROL rows of a screen: named `screenName`, or when that is empty after
    // the parent of the first of `window`; its controls are `controls`, or when the name is empty
    // the children of that parent. A row whose length is missing is reported and skipped; any other
    // failure ends the setup silently, leaving the fields done so far as they are.
    void apply(const QObjectList &window, const QString &screenName, const QObjectList &controls);

    // The editor window for a text field, the host's pop-up editor for a grid; nothing otherwise.
    void launchEditor(QWidget *focused, QWidget *holder);
    void checkSpelling(QWidget *focused);
    // "^X", "^C" or "^V": a text field cuts, copies or pastes; a plain text box gets the keystroke.
    void clipboard(QWidget *focused, const QString &keys);

private:
    DetailsState &m_state;
};

} // namespace talv::details
