#include "FocusedField.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolBar>

#include <utility>

namespace talv {

FocusedField::FocusedField(QWidget *screen) : QObject(screen), m_screen(screen)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { onFocusChanged(now); });
    onFocusChanged(QApplication::focusWidget());
}

bool FocusedField::isCommandSurface(const QWidget *widget) const
{
    for (const QWidget *w = widget; w && w != m_screen; w = w->parentWidget()) {
        if (qobject_cast<const QMenuBar *>(w) || qobject_cast<const QToolBar *>(w))
            return true;
    }
    return false;
}

void FocusedField::onFocusChanged(QWidget *now)
{
    // Focus that leaves the screen (to a popup menu, the host's sub-window, another window)
    // leaves the field as it was.
    if (!now || now == m_screen || !m_screen->isAncestorOf(now) || isCommandSurface(now))
        return;
    follow(now);
}

void FocusedField::follow(QWidget *widget)
{
    if (widget == m_field)
        return;
    if (m_field)
        m_field->removeEventFilter(this);
    disconnect(m_selectionWatch);
    disconnect(m_cursorWatch);
    m_field = widget;
    m_selectionStart = -1;
    m_field->installEventFilter(this);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        m_selectionWatch = connect(edit, &QLineEdit::selectionChanged, this, &FocusedField::onTextBoxMoved);
        m_cursorWatch = connect(edit, &QLineEdit::cursorPositionChanged, this, &FocusedField::onTextBoxMoved);
    }
}

void FocusedField::onTextBoxMoved()
{
    // A change while the box has the focus is the user's (a click, Tab selecting all): what the
    // box shows now is what they mean. A change while it has none is the box dropping its
    // selection on the way out.
    if (m_field && m_field->hasFocus())
        m_selectionStart = -1;
}

bool FocusedField::eventFilter(QObject *watched, QEvent *event)
{
    // Seen before the text box clears its selection on the way out.
    if (event->type() == QEvent::FocusOut && watched == m_field) {
        if (const auto *edit = qobject_cast<const QLineEdit *>(m_field.data())) {
            const bool selected = edit->hasSelectedText();
            m_selectionStart = selected ? edit->selectionStart() : edit->cursorPosition();
            m_selectionLength = selected ? int(edit->selectedText().size()) : 0;
            m_cursorAtStart = selected && edit->cursorPosition() == m_selectionStart;
        }
    }
    return QObject::eventFilter(watched, event);
}

QWidget *FocusedField::restore()
{
    if (!m_field || !m_field->isEnabled() || !m_field->isVisible())
        return nullptr;
    // The host's window may have handed the focus back already, without the selection.
    const int start = std::exchange(m_selectionStart, -1);
    if (!m_field->hasFocus())
        m_field->setFocus(Qt::OtherFocusReason);
    auto *edit = qobject_cast<QLineEdit *>(m_field.data());
    if (edit && start >= 0) {
        if (m_selectionLength == 0)
            edit->setCursorPosition(start);
        else if (m_cursorAtStart)
            edit->setSelection(start + m_selectionLength, -m_selectionLength);
        else
            edit->setSelection(start, m_selectionLength);
    }
    return m_field;
}

} // namespace talv
