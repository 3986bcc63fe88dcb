#include "MainMenuAccessKeys.h"
#include "WorkArea.h"

#include "platform/AccessKeys.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

namespace talv::host {

MainMenuAccessKeys::MainMenuAccessKeys(QMenuBar *bar, WorkArea *area) : QObject(bar), m_area(area)
{
    for (QAction *title : bar->actions())
        m_titles.append({title, title->text()});
    connect(qApp, &QApplication::focusChanged, this, &MainMenuAccessKeys::update);
}

void MainMenuAccessKeys::update()
{
    if (!m_area)
        return;
    const QWidget *screen = m_area->screenWithFocus();
    const QSet<QChar> taken = screen ? AccessKeys::answeredUnder(screen) : QSet<QChar>();
    for (const Title &title : std::as_const(m_titles)) {
        if (!title.action)
            continue;
        const QString caption =
            taken.contains(AccessKeys::of(title.caption)) ? AccessKeys::without(title.caption) : title.caption;
        if (title.action->text() != caption)
            title.action->setText(caption);
    }
}

} // namespace talv::host
