#pragma once

#include "BusinessClass.h"

#include <QStringList>

namespace talv::clients {

// The values of a LoadWhere criterion as the screens pass them (a text, or a list of texts or
// numbers), as texts. Raises InvalidArgument, naming the criterion and `shape`, unless there
// are exactly `count` of them.
QStringList criterionArguments(const LoadRequest &request, int count, const QString &shape);

// A whole number passed as text (a user id); raises InvalidArgument naming `what`.
qlonglong wholeNumberArgument(const QString &text, const QString &what, const QString &criterion);

// A name as the screens put it into criteria, each "'" doubled, back as the user typed it.
QString undoubleQuotes(const QString &name);

} // namespace talv::clients
