#include "Misc_Functions.h"

#include "contracts/AppManager.h"
#include "platform/FlexGrid.h"

#include <QStringList>

namespace Misc_Functions {

namespace {

QString caption(const QString &heading)
{
    QStringList pieces = heading.toLower().split(u' ');
    for (QString &piece : pieces)
        piece = piece.trimmed().toLower();
    QStringList words = pieces.join(u'_').split(u'_');
    QString out;
    for (QString &word : words) {
        if (!word.isEmpty())
            word[0] = word[0].toUpper();
        if (word.trimmed().toLower() == u"id")
            word = QStringLiteral("ID");
        // An empty word between two underscores still adds its blank, as users of the old
        // captions expect ("A__B" reads "A  B").
        out += word;
        out += u' ';
    }
    return out.trimmed();
}

} // namespace

void FormatGridCaptions(talv::FlexGrid &grid)
{
    for (int col = 0; col < grid.Cols(); ++col)
        grid.SetTextMatrix(0, col, caption(grid.TextMatrix(0, col)));
}

bool RecordExists(const QString &table, const QString &column, qint32 value, talv::AppManager &appManager)
{
    const QString sql = QStringLiteral("Select * from ") + table + QStringLiteral(" where ") + column +
                        QStringLiteral(" = ") + QString::number(value);
    const talv::RecordsetPtr rows = appManager.CallGetQueryRSXML(sql);
    return rows && rows->RecordCount() >= 1;
}

} // namespace Misc_Functions
