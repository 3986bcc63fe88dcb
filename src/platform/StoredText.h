#pragma once

#include <QString>

class QMimeData;
class QTextDocument;

namespace talv {

// How a text field keeps its text in the database: formatted text as HTML, and text without
// formatting as plain text, so unformatted text stays readable (and searchable) as it is.

// True when the user would see formatting: bold, italic, underline, colours, another font or
// size, links, images, alignment, indents, lists or tables. Formatting that was set and taken
// off again (bold, then not bold) does not count.
bool carriesFormatting(const QTextDocument &document);

// True when `text` is HTML as a formatted field stores it (a whole document). Anything else is
// plain text, so a name like "<b> & c" is never misread as markup.
bool isStoredHtml(const QString &text);

// The words of a clipboard or drag payload without their formatting: its plain text, or the
// text of its HTML when it has no plain text.
QString plainTextOf(const QMimeData &data);

} // namespace talv
