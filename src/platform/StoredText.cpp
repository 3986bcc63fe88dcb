#include "StoredText.h"

#include <QFont>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>

namespace talv {

namespace {

bool charFormatShows(const QTextCharFormat &format, const QFont &defaultFont)
{
    if (format.isImageFormat() || format.isAnchor())
        return true;
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() != QFont::Normal)
        return true;
    if (format.fontItalic() || format.fontUnderline() || format.fontStrikeOut() || format.fontOverline())
        return true;
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        return true;
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        return true;
    if (format.verticalAlignment() != QTextCharFormat::AlignNormal)
        return true;
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && families.constFirst() != defaultFont.family())
            return true;
    }
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() != defaultFont.pointSizeF())
        return true;
    return format.hasProperty(QTextFormat::FontSizeAdjustment) && format.intProperty(QTextFormat::FontSizeAdjustment);
}

bool blockFormatShows(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    return block.textList() || format.indent() > 0 || format.textIndent() != 0 || format.headingLevel() > 0 ||
           (format.hasProperty(QTextFormat::BlockAlignment) && horizontal != Qt::AlignLeft &&
            horizontal != Qt::AlignLeading);
}

} // namespace

bool carriesFormatting(const QTextDocument &document)
{
    if (!document.rootFrame()->childFrames().isEmpty()) // tables
        return true;
    const QFont defaultFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (blockFormatShows(block))
            return true;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (charFormatShows(fragment.fragment().charFormat(), defaultFont))
                return true;
        }
    }
    return false;
}

bool isStoredHtml(const QString &text)
{
    static const QRegularExpression documentStart(QStringLiteral("^\\s*<(!DOCTYPE\\s+html|html)[\\s>]"),
                                                  QRegularExpression::CaseInsensitiveOption);
    return documentStart.match(text).hasMatch();
}

QString plainTextOf(const QMimeData &data)
{
    if (data.hasText())
        return data.text();
    if (data.hasHtml())
        return QTextDocumentFragment::fromHtml(data.html()).toPlainText();
    return {};
}

} // namespace talv
