#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace talv {

// The field of a screen that the user was working in before a menu, a toolbar or the window
// around the screen took the focus, so that the screen's Edit commands and toolbar keys act on
// it. A click on a toolbar inside a host's sub-window passes the focus through that sub-window,
// and a text box that loses the focus that way drops its selection: the selection is kept here.
class FocusedField : public QObject
{
    Q_OBJECT
public:
    explicit FocusedField(QWidget *screen);

    // The widget of the screen that has the focus or had it last; menu bars, menus and toolbars
    // never count. nullptr while none of the screen's widgets has had it, or when it is gone.
    QWidget *field() const { return m_field; }

    // Gives that widget the focus again with the text selection it had, so that a keystroke or
    // an edit reaches it as the user left it. Answers the widget, or nullptr.
    QWidget *restore();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFocusChanged(QWidget *now);
    bool isCommandSurface(const QWidget *widget) const;
    void follow(QWidget *widget);
    void onTextBoxMoved();

    QWidget *m_screen;
    QPointer<QWidget> m_field;
    QMetaObject::Connection m_selectionWatch;
    QMetaObject::Connection m_cursorWatch;
    // A text box's selection (or cursor, with length 0) when it last lost the focus; -1 once the
    // user has moved in it since.
    int m_selectionStart = -1;
    int m_selectionLength = 0;
    bool m_cursorAtStart = false;
};

} // namespace talv
