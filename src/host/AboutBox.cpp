#include "AboutBox.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace talv::host {

AboutBox::AboutBox(const QString &serverName, const QString &userName, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About TALV ELGroup"));
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setText(tr("<h3>TALV ELGroup %1</h3>"
                     "<p>Find, view and edit element groups: named groups of plants, animals and "
                     "ecological communities with their members and literature references.</p>"
                     "<p>Database: %2<br>User: %3</p>"
                     "<p>Built with Qt %4.</p>")
                      .arg(QCoreApplication::applicationVersion().toHtmlEscaped(), serverName.toHtmlEscaped(),
                           userName.toHtmlEscaped(), QString::fromLatin1(qVersion())));
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

} // namespace talv::host
