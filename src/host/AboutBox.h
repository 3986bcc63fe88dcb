#pragma once

#include <QDialog>

namespace talv::host {

// Who we are and what this session runs on.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    AboutBox(const QString &serverName, const QString &userName, QWidget *parent = nullptr);
};

} // namespace talv::host
