#include "XmlHelper.h"

#include "Error.h"

#include <QDomAttr>
#include <QDomNodeList>
#include <QDomText>
#include <QXmlStreamReader>

namespace talv::XmlHelper {

QDomDocument load(const QString &text)
{
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(text, &message, &line, &column))
        throw Error(Error::Xml, QStringLiteral("%1 (line %2, column %3)")
                                    .arg(message.isEmpty() ? QStringLiteral("Invalid XML") : message)
                                    .arg(line)
                                    .arg(column));
    return document;
}

void requireWithin(const QString &text, const Bounds &bounds)
{
    if (text.size() > bounds.maxChars)
        throw Error(Error::Xml, QStringLiteral("The document is longer than %1 characters.").arg(bounds.maxChars));
    // A streaming pass keeps no tree, so a deep document is refused in the time it takes to read.
    QXmlStreamReader reader(text);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > bounds.maxDepth)
            throw Error(Error::Xml,
                        QStringLiteral("The document nests elements deeper than %1 levels.").arg(bounds.maxDepth));
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
}

QDomNode selectSingleNode(const QDomNode &context, const QString &path)
{
    QDomNode node = context;
    QString rest = path;
    if (rest.startsWith(QLatin1Char('/'))) {
        node = context.isDocument() ? context : context.ownerDocument();
        rest.remove(0, 1);
    }
    const QStringList steps = rest.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString &step = steps.at(i);
        if (step.isEmpty() || (step.startsWith(QLatin1Char('@')) && i + 1 < steps.size()))
            throw Error(Error::InvalidArgument, QStringLiteral("Unsupported XML path '%1'").arg(path));
        if (node.isNull())
            return {};
        if (step.startsWith(QLatin1Char('@')))
            return node.toElement().attributeNode(step.mid(1));
        node = node.firstChildElement(step);
    }
    return node;
}

QDomElement appendElement(QDomNode parent, const QString &name, const QString &text)
{
    QDomDocument document = parent.isDocument() ? parent.toDocument() : parent.ownerDocument();
    QDomElement element = document.createElement(name);
    if (!text.isEmpty())
        element.appendChild(document.createTextNode(text));
    parent.appendChild(element);
    return element;
}

QString text(const QDomNode &node)
{
    if (node.isElement())
        return node.toElement().text();
    return node.nodeValue();
}

void setText(QDomNode node, const QString &text)
{
    if (!node.isElement()) {
        node.setNodeValue(text);
        return;
    }
    while (!node.firstChild().isNull())
        node.removeChild(node.firstChild());
    if (!text.isEmpty())
        node.appendChild(node.ownerDocument().createTextNode(text));
}

bool hasAttribute(const QDomNode &node, const QString &name)
{
    return node.isElement() && node.toElement().hasAttribute(name);
}

QString attribute(const QDomNode &node, const QString &name, const QString &defaultValue)
{
    return node.isElement() ? node.toElement().attribute(name, defaultValue) : defaultValue;
}

void setAttribute(QDomNode node, const QString &name, const QString &value)
{
    if (!node.isElement())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("Cannot set attribute '%1' on a node that is no element").arg(name));
    node.toElement().setAttribute(name, value);
}

QList<QDomNode> childNodes(const QDomNode &node)
{
    QList<QDomNode> children;
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
        children.append(child);
    return children;
}

QList<QDomElement> childElements(const QDomNode &node, const QString &name)
{
    QList<QDomElement> children;
    for (QDomElement child = node.firstChildElement(name); !child.isNull(); child = child.nextSiblingElement(name))
        children.append(child);
    return children;
}

QString toText(const QDomDocument &document)
{
    return document.toString(-1);
}

} // namespace talv::XmlHelper
