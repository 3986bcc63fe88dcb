#include "platform/XmlHelper.h"
#include "platform/Error.h"
#include "support/ErrorNumber.h"

#include <gtest/gtest.h>

using talv::Error;
namespace Xml = talv::XmlHelper;

namespace {

const QString StateTemplate =
    QStringLiteral("<TALV><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\"></SEARCH_STATE></TALV>");
const QString Properties =
    QStringLiteral("<TALV><SEARCH_PROPERTIES control=\"talv_elgroup.elgroupsearch\">"
                   "<SAVE_SETTINGS_AS_DEFAULT>1</SAVE_SETTINGS_AS_DEFAULT></SEARCH_PROPERTIES></TALV>");

TEST(XmlHelperTest, TextThatIsNotWellFormedRaisesAnXmlErrorWithItsPosition)
{
    EXPECT_EQ(errorNumber([] { Xml::load(QStringLiteral("<TALV>\n<SEARCH_STATE></TALV>")); },
                          QStringLiteral("line 2, column")),
              Error::Xml);
    for (const char *bad : {"", "plain text", "<A>fish & chips</A>", "<A/><B/>"})
        EXPECT_EQ(errorNumber([&] { Xml::load(QString::fromLatin1(bad)); }), Error::Xml) << bad;
}

TEST(XmlHelperTest, PathsSelectElementsAndAttributesFromADocumentOrAnyNodeOrMiss)
{
    const QDomDocument doc = Xml::load(Properties);
    const QDomNode props = Xml::selectSingleNode(doc, QStringLiteral("TALV/SEARCH_PROPERTIES"));
    EXPECT_EQ(Xml::attribute(props, QStringLiteral("control")), QStringLiteral("talv_elgroup.elgroupsearch"));
    const QDomNode save = Xml::selectSingleNode(props, QStringLiteral("SAVE_SETTINGS_AS_DEFAULT"));
    EXPECT_EQ(Xml::text(save), QStringLiteral("1"));

    // An absolute path starts at the document, wherever the context is.
    EXPECT_EQ(Xml::selectSingleNode(save, QStringLiteral("/TALV/SEARCH_PROPERTIES")), props);
    EXPECT_EQ(Xml::text(Xml::selectSingleNode(save, QStringLiteral("/TALV/SEARCH_PROPERTIES/@control"))),
              QStringLiteral("talv_elgroup.elgroupsearch"));

    // Paths that miss answer a null node; malformed paths are rejected.
    for (const char *path : {"TALV/SEARCH_STATE", "talv/search_properties", "SEARCH_PROPERTIES",
                             "TALV/NOPE/SAVE_SETTINGS_AS_DEFAULT", "TALV/SEARCH_PROPERTIES/@missing"})
        EXPECT_TRUE(Xml::selectSingleNode(doc, QString::fromLatin1(path)).isNull()) << path;
    EXPECT_TRUE(Xml::selectSingleNode(props, QStringLiteral("/SEARCH_PROPERTIES")).isNull());

    // Reads on a missing node answer defaults instead of failing.
    const QDomNode none = Xml::selectSingleNode(doc, QStringLiteral("TALV/SEARCH_STATE"));
    EXPECT_TRUE(Xml::text(none).isEmpty());
    EXPECT_FALSE(Xml::hasAttribute(none, QStringLiteral("comparison")));
    EXPECT_EQ(Xml::attribute(none, QStringLiteral("comparison"), QStringLiteral("-")), QStringLiteral("-"));

    for (const char *path : {"TALV//SEARCH_PROPERTIES", "TALV/", "", "TALV/@control/X"})
        EXPECT_EQ(errorNumber([&] { Xml::selectSingleNode(doc, QString::fromLatin1(path)); }), Error::InvalidArgument)
            << path;
}

TEST(XmlHelperTest, ABuiltDocumentEscapesMarkupAndReadsBackWhatWasWritten)
{
    QDomDocument doc = Xml::load(StateTemplate);
    const QDomNode state = Xml::selectSingleNode(doc, QStringLiteral("TALV/SEARCH_STATE"));
    const QString id = QStringLiteral(" 12 ");
    const QString name = QStringLiteral("Rock & <Cliff> \"types\" 'n' Größe Ñandú 蜂 🐝");
    Xml::appendElement(state, QStringLiteral("ELEMENT_GROUP_ID"), id);
    const QDomElement nameElement = Xml::appendElement(state, QStringLiteral("ELEMENT_GROUP_NAME"), name);
    Xml::setAttribute(nameElement, QStringLiteral("comparison"), QStringLiteral("2\" & <x>"));

    const QString text = Xml::toText(doc);
    EXPECT_FALSE(text.contains(QStringLiteral("<?xml")) || text.contains(QLatin1Char('\n')));
    EXPECT_TRUE(text.contains(QStringLiteral("Rock &amp; &lt;Cliff")));
    EXPECT_TRUE(text.contains(QStringLiteral("comparison=\"2&quot; &amp; &lt;x")));

    const QDomNode back = Xml::selectSingleNode(Xml::load(text), QStringLiteral("TALV/SEARCH_STATE"));
    EXPECT_EQ(Xml::text(Xml::selectSingleNode(back, QStringLiteral("ELEMENT_GROUP_ID"))), id);
    const QDomNode backName = Xml::selectSingleNode(back, QStringLiteral("ELEMENT_GROUP_NAME"));
    EXPECT_EQ(Xml::text(backName), name);
    EXPECT_EQ(Xml::attribute(backName, QStringLiteral("comparison")), QStringLiteral("2\" & <x>"));

    // The bare template serialises as it was loaded.
    EXPECT_EQ(Xml::toText(Xml::load(StateTemplate)),
              QStringLiteral("<TALV><SEARCH_STATE control=\"TALV_ELGroup.ELGroupSearch\"/></TALV>"));
}

TEST(XmlHelperTest, SettingTextReplacesTheWholeContentOfAnElement)
{
    QDomDocument doc = Xml::load(QStringLiteral("<TALV><A>one<B>two</B><!-- c -->three</A><C x=\"1\"/></TALV>"));
    const QDomNode a = Xml::selectSingleNode(doc, QStringLiteral("TALV/A"));
    EXPECT_EQ(Xml::text(a), QStringLiteral("onetwothree"));
    Xml::setText(a, QStringLiteral("0"));
    Xml::setText(Xml::selectSingleNode(doc, QStringLiteral("TALV/C/@x")), QStringLiteral("2"));
    EXPECT_EQ(Xml::toText(doc), QStringLiteral("<TALV><A>0</A><C x=\"2\"/></TALV>"));
    Xml::setText(a, QString());
    EXPECT_TRUE(Xml::childNodes(a).isEmpty());
    EXPECT_EQ(Xml::childElements(doc.documentElement(), QStringLiteral("C")).size(), 1);
    EXPECT_EQ(errorNumber([&] { Xml::setAttribute(doc, QStringLiteral("y"), QStringLiteral("1")); }),
              Error::InvalidArgument);
}

} // namespace

TEST(XmlHelperTest, DocumentsBeyondTheirBoundsAreRefusedBeforeTheyAreParsed)
{
    const Xml::Bounds bounds{200, 3};
    EXPECT_NO_THROW(Xml::requireWithin(StateTemplate, bounds));
    EXPECT_NO_THROW(Xml::requireWithin(QStringLiteral("<A><B><C/></B><B><C/></B></A>"), bounds));
    EXPECT_NO_THROW(Xml::requireWithin(QStringLiteral("<A><B>not closed"), bounds)) << "load judges the form";
    EXPECT_EQ(errorNumber([&] { Xml::requireWithin(QStringLiteral("<A><B><C><D/></C></B></A>"), bounds); },
                          QStringLiteral("deeper than 3")),
              Error::Xml);
    EXPECT_EQ(errorNumber([&] { Xml::requireWithin(QString(201, u' '), bounds); }, QStringLiteral("longer than 200")),
              Error::Xml);

    // The hostile document of a damaged option: 100,000 levels, refused without building a tree.
    QString deep;
    for (int i = 0; i < 100000; ++i)
        deep += QStringLiteral("<a>");
    EXPECT_EQ(errorNumber(
                  [&] {
                      Xml::requireWithin(deep, {deep.size(), 8});
                  },
                  QStringLiteral("deeper than 8")),
              Error::Xml);
}
