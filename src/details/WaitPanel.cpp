#include "WaitPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>

namespace talv::details {

WaitPanel::WaitPanel(QWidget *covered, QWidget *parent) : QFrame(parent), m_covered(covered)
{
    setObjectName(QStringLiteral("picActivityWait"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("picWaitMessage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_image);
    const std::pair<Mode, const char *> texts[] = {{Loading, "Loading"},
                                                   {Saving, "Saving"},
                                                   {Deleting, "Deleting"},
                                                   {PleaseWait, "PleaseWait"},
                                                   {Copying, "Copying"}};
    const QHash<int, QString> shown{{Loading, tr("Loading...")},
                                    {Saving, tr("Saving...")},
                                    {Deleting, tr("Deleting...")},
                                    {PleaseWait, tr("Please wait...")},
                                    {Copying, tr("Copying...")}};
    for (const auto &[mode, key] : texts)
        m_images.insert(mode, {QString::fromLatin1(key), makeImage(shown.value(mode))});
    hide();
}

QPixmap WaitPanel::makeImage(const QString &text)
{
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const QSize size = metrics.size(Qt::TextSingleLine, text) + QSize(48, 24);
    QPixmap image(size);
    image.fill(QApplication::palette().color(QPalette::ToolTipBase));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QApplication::palette().color(QPalette::ToolTipText));
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

void WaitPanel::showMode(int mode)
{
    if (const auto it = m_images.constFind(mode); it != m_images.constEnd()) {
        m_imageKey = it->first;
        m_image->setPixmap(it->second);
    }
    adjustSize();
    const QRect area(m_covered->mapTo(parentWidget(), QPoint(0, 0)), m_covered->size());
    move(area.center() - QPoint(width() / 2, height() / 2));
    raise();
    show();
    // The panel alone is painted now: running the pending events instead would repaint the whole
    // screen on every show and hide, and could start a queued command inside this one.
    repaint();
}

void WaitPanel::hidePanel()
{
    hide();
}

} // namespace talv::details
