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
        m_captions.insert(title, title->text());
    connect(qApp, &QApplication::focusChanged, this, &MainMenuAccessKeys::update);
}

void MainMenuAccessKeys::update()
{
    const QWidget *screen = m_area->screenWithFocus();
    const QSet<QChar> taken = screen ? AccessKeys::answeredUnder(screen) : QSet<QChar>();
    for (auto it = m_captions.cbegin(); it != m_captions.cend(); ++it) {
        const QString caption =
            taken.contains(AccessKeys::of(it.value())) ? AccessKeys::without(it.value()) : it.value();
        if (it.key()->text() != caption)
            it.key()->setText(caption);
    }
}

} // namespace talv::host
