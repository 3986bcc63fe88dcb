#include "CriterionArguments.h"

#include "platform/Error.h"

namespace talv::clients {

QStringList criterionArguments(const LoadRequest &request, int count, const QString &shape)
{
    QStringList texts;
    const QVariant &value = request.value;
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList) {
        const QVariantList list = value.toList();
        for (const QVariant &item : list)
            texts.append(item.toString());
    } else if (value.isValid()) {
        texts.append(value.toString());
    }
    if (texts.size() != count)
        throw Error(Error::InvalidArgument, QStringLiteral("The criterion %1 takes %2; %3 value(s) were given.")
                                                .arg(request.criterion, shape)
                                                .arg(texts.size()));
    return texts;
}

qlonglong wholeNumberArgument(const QString &text, const QString &what, const QString &criterion)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(Error::InvalidArgument,
                    QStringLiteral("The criterion %1 needs a %2, not \"%3\".").arg(criterion, what, text));
    return number;
}

QString undoubleQuotes(const QString &name)
{
    QString typed = name;
    return typed.replace(QStringLiteral("''"), QStringLiteral("'"));
}

} // namespace talv::clients
