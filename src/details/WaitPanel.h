#pragma once

#include <QFrame>
#include <QHash>
#include <QPixmap>
#include <QString>

class QLabel;

namespace talv::details {

// The panel that tells the user what a long operation is doing ("picActivityWait" with its image box
// "picWaitMessage"), shown centred over the area it covers.
class WaitPanel : public QFrame
{
    Q_OBJECT
public:
    enum Mode { Loading = 1, Saving = 2, Deleting = 3, PleaseWait = 4, Copying = 5 };

    // `covered` is the widget the panel is centred over; the panel is its sibling.
    WaitPanel(QWidget *covered, QWidget *parent);

    // Centres the panel over the covered area and shows it, with the image of `mode` (any other
    // mode keeps the image). The panel is painted at once, so that the user sees it before the work.
    void showMode(int mode);
    void hidePanel();

    // The key of the image on show: "Loading", "Saving", "Deleting", "PleaseWait" or "Copying".
    QString imageKey() const { return m_imageKey; }

private:
    static QPixmap makeImage(const QString &text);

    QWidget *m_covered;
    QLabel *m_image;
    QHash<int, std::pair<QString, QPixmap>> m_images;
    QString m_imageKey;
};

// Shows the wait panel for a scope and hides it when the scope ends, also on failure.
class WaitScope
{
public:
    WaitScope(WaitPanel &panel, int mode) : m_panel(panel) { m_panel.showMode(mode); }
    ~WaitScope() { m_panel.hidePanel(); }
    WaitScope(const WaitScope &) = delete;
    WaitScope &operator=(const WaitScope &) = delete;

private:
    WaitPanel &m_panel;
};

} // namespace talv::details
