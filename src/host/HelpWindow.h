#pragma once

#include <QWidget>

class QTextBrowser;

namespace talv::host {

// The host's help: our own HTML pages, carried in the program, in a browser window of ours.
// Topics are the anchors of the page, named by their topic numbers.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // The page the help is written in (a resource path).
    static QString helpSource();

    // Shows the page at a topic; 0 (or a topic the page lacks) shows it from the top.
    void showTopic(int topicId);
    QTextBrowser *browser() const { return m_browser; }
    int shownTopic() const { return m_topic; }

private:
    QTextBrowser *m_browser;
    int m_topic = 0;
};

} // namespace talv::host
