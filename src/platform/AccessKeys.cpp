#include "AccessKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>

namespace talv::AccessKeys {

namespace {

// The position of the "&" that marks the access key, or -1.
qsizetype markAt(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return i;
        ++i; // "&&" is a literal "&"
    }
    return -1;
}

bool answers(const QWidget *widget)
{
    return widget->isVisible() && widget->isEnabled();
}

} // namespace

QChar of(const QString &caption)
{
    const qsizetype at = markAt(caption);
    return at < 0 ? QChar() : caption.at(at + 1).toUpper();
}

QString without(const QString &caption)
{
    const qsizetype at = markAt(caption);
    if (at < 0)
        return caption;
    QString plain = caption;
    plain.remove(at, 1);
    return plain;
}

QSet<QChar> answeredUnder(const QWidget *root)
{
    QSet<QChar> keys;
    const auto add = [&keys](const QString &caption) {
        if (const QChar key = of(caption); !key.isNull())
            keys.insert(key);
    };
    for (const QMenuBar *bar : root->findChildren<QMenuBar *>()) {
        if (!answers(bar))
            continue;
        for (const QAction *title : bar->actions()) {
            if (title->isVisible() && title->isEnabled())
                add(title->text());
        }
    }
    for (const QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (answers(button))
            add(button->text());
    }
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (answers(label) && label->buddy())
            add(label->text());
    }
    for (const QTabBar *tabs : root->findChildren<QTabBar *>()) {
        if (!answers(tabs))
            continue;
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->isTabEnabled(i))
                add(tabs->tabText(i));
        }
    }
    return keys;
}

} // namespace talv::AccessKeys
