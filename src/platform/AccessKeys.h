#pragma once

#include <QChar>
#include <QSet>
#include <QString>

class QWidget;

// Access keys: the letter after "&" in a caption, pressed with Alt.
namespace talv::AccessKeys {

// The caption's access key in upper case ("F&ind Now": 'I'), or a null QChar ("&&" is a plain "&").
QChar of(const QString &caption);

// The caption with its access key taken out ("F&ind Now": "Find Now"); "&&" stays as it is.
QString without(const QString &caption);

// The access keys that the visible, enabled widgets under `root` answer while the focus is among
// them: menu bar titles, buttons, labels with a buddy and tab titles.
QSet<QChar> answeredUnder(const QWidget *root);

} // namespace talv::AccessKeys
