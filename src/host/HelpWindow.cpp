#include "HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace talv::host {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Help"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(false);
    m_browser->setSource(QUrl(helpSource()));
    layout->addWidget(m_browser);
    resize(640, 560);
}

QString HelpWindow::helpSource()
{
    return QStringLiteral("qrc:/help/talv-elgroup.html");
}

void HelpWindow::showTopic(int topicId)
{
    m_topic = topicId;
    QUrl url(helpSource());
    if (topicId > 0)
        url.setFragment(QString::number(topicId));
    m_browser->setSource(url);
    if (topicId <= 0)
        m_browser->scrollToAnchor(QStringLiteral("contents"));
    show();
    raise();
    activateWindow();
}

} // namespace talv::host
