#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QDomNode>
#include <QList>
#include <QString>

// The few things the screens do with XML documents that QDom makes awkward.
namespace talv::XmlHelper {

// Parses `text`; text that is not well-formed raises talv::Error(Xml) with the parser's message
// and position.
QDomDocument load(const QString &text);

// How much a document from outside the program (stored settings, say) may hold.
struct Bounds {
    qsizetype maxChars;
    int maxDepth; // elements inside elements, the root counting 1
};

// Raises talv::Error(Xml) when `text` is longer or nests deeper than `bounds`; call it before
// load, so that a damaged or hostile document is refused in the time it takes to read it once.
// Whether the text is well-formed is left to load.
void requireWithin(const QString &text, const Bounds &bounds);

// The first node on `path` from `context`, or a null node. Steps are element names matched
// exactly ("TALV/SEARCH_STATE"); a last step "@name" selects an attribute. A leading "/" starts
// at the document, otherwise at the children of `context` (for a document: its root element).
// An empty step ("A//B", a trailing "/") raises talv::Error(InvalidArgument).
QDomNode selectSingleNode(const QDomNode &context, const QString &path);

// Creates an element with `text` (none when empty) and appends it to `parent`.
QDomElement appendElement(QDomNode parent, const QString &name, const QString &text = {});

// The text of an element (all text inside it), an attribute's value, or any other node's value.
QString text(const QDomNode &node);
// Replaces the content of an element by `text`; sets the value of other nodes.
void setText(QDomNode node, const QString &text);

bool hasAttribute(const QDomNode &node, const QString &name);
// `defaultValue` when the node is no element or has no such attribute.
QString attribute(const QDomNode &node, const QString &name, const QString &defaultValue = {});
// Raises talv::Error(InvalidArgument) when the node is no element.
void setAttribute(QDomNode node, const QString &name, const QString &value);

QList<QDomNode> childNodes(const QDomNode &node);
// Child elements, only those named `name` when it is not empty.
QList<QDomElement> childElements(const QDomNode &node, const QString &name = {});

// The document as text on one line, without an XML declaration unless it holds one.
QString toText(const QDomDocument &document);

} // namespace talv::XmlHelper
