#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/XMLDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList Names(const std::vector<TXMLNode>& nodes)
{
    QStringList names;
    for (const TXMLNode& n : nodes)
        names << (n.IsElement() ? n.NodeName() : QStringLiteral("#") + n.NodeValue());
    return names;
}

// The text as UTF-16 with its byte-order mark.
QByteArray Utf16(const QString& text, bool littleEndian)
{
    QByteArray out = littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return out;
}

// The tree below a node: elements as name[attributes](children), texts as "...", character data
// as C"...", comments as #"...".
QString Tree(const TXMLNode& node)
{
    QString out;
    for (const TXMLNode& c : node.ChildNodes()) {
        switch (c.NodeType()) {
        case TXMLNodeType::Element: {
            out += c.NodeName();
            QStringList attributes;
            for (const QString& name : c.AttributeNames())
                attributes << name + "=" + c.Attribute(name);
            if (!attributes.isEmpty())
                out += "[" + attributes.join(",") + "]";
            out += "(" + Tree(c) + ")";
            break;
        }
        case TXMLNodeType::Text: out += "\"" + c.NodeValue() + "\""; break;
        case TXMLNodeType::CData: out += "C\"" + c.NodeValue() + "\""; break;
        case TXMLNodeType::Comment: out += "#\"" + c.NodeValue() + "\""; break;
        default: out += "?"; break;
        }
    }
    return out;
}

} // namespace

TEST(XMLDocument, OrderOfNodesAndAttributesIsKeptThroughSaveAndLoad)
{
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(kt_test::FixturePath("xml/order.xml")));
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy.xml");
    ASSERT_TRUE(doc.SaveToFile(copy));

    TXMLDocument again;
    ASSERT_TRUE(again.LoadFromFile(copy));
    for (TXMLDocument* d : {&doc, &again}) {
        SCOPED_TRACE(d == &doc ? "fixture" : "saved copy");
        EXPECT_EQ(Names(d->ChildNodes()), (QStringList{"S7_Protocol", "#SW_VERSION = 1.003"}));
        EXPECT_EQ(Names(d->DocumentElement().ChildNodes()), (QStringList{"S7_Protocol_Read", "S7_Protocol_Write"}));
        const TXMLNode section = d->DocumentElement().FindNode("S7_Protocol_Read");
        EXPECT_EQ(Names(section.ChildNodes()), (QStringList{"row", "#kept", "row"}));
        EXPECT_EQ(section.ChildNodes()[0].AttributeNames(), (QStringList{"Mnemonic", "Enable", "PLC_Address", "Tab"}));
    }
}

TEST(XMLDocument, BuiltDocumentKeepsInsertionOrderAndReplacesAttributesInPlace)
{
    TXMLDocument doc;
    TXMLNode root = doc.AddChild("Par_Gen");
    doc.AddComment("SW_VERSION = 1.000");
    root.AddChild("Zeta", "1");
    root.AddChild("Alpha", "2");
    TXMLNode row = root.AddChild("row");
    row.SetAttribute("b", "1");
    row.SetAttribute("a", "2");
    row.SetAttribute("b", "3");
    EXPECT_EQ(doc.SaveToBytes(),
              QByteArray("<Par_Gen><Zeta>1</Zeta><Alpha>2</Alpha><row b=\"3\" a=\"2\"/></Par_Gen>"
                         "<!--SW_VERSION = 1.000-->"));
}

// Several attributes read in one pass give what one read per name gives.
TEST(XMLDocument, AttributesReadInOnePass)
{
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<r><row b=\"2\" Enable=\"Y\" enable=\"n\" a:x=\"p\" x=\"q\" e=\"&lt;&amp;&#233;\" "
                                  "empty=\"\"/></r>"));
    TXMLNode row = doc.DocumentElement().FindNode("row");
    const char* const names[] = {"Enable", "x", "missing", "e", "empty", "b", "enable"};
    const char* values[std::size(names)];
    row.ReadAttributes(names, values, std::size(names));
    EXPECT_STREQ(values[0], "Y");
    EXPECT_STREQ(values[1], "q");  // a prefix is part of the name
    EXPECT_EQ(values[2], nullptr);
    EXPECT_STREQ(values[3], "<&\xC3\xA9");
    EXPECT_STREQ(values[4], "");
    EXPECT_STREQ(values[5], "2");
    EXPECT_STREQ(values[6], "n");  // letter case counts
    // Of a name repeated in the tree (only a program can put one there) the first counts, as for
    // TryAttribute.
    row.Handle().append_attribute("b").set_value("later");
    row.ReadAttributes(names, values, std::size(names));
    EXPECT_STREQ(values[5], "2");
    EXPECT_EQ(row.Attribute("b"), "2");
    // A null node has no attributes.
    TXMLNode().ReadAttributes(names, values, std::size(names));
    for (const char* v : values)
        EXPECT_EQ(v, nullptr);
}

// Read where the file held them, attributes come out as the tree holds them: rows of one form,
// rows in another order or spacing, names that begin or end like an asked one, values the parser
// changes, a row near the end of the file, a file behind a byte-order mark, rows read out of order.
TEST(XMLDocument, AttributesReadWhereTheFileHeldThemAreTheTreesOwn)
{
    const QByteArray rows =
        "<row Enable=\"Y\" Attribute_Name_Over_16=\"L1\" b=\"2\" Mnemonic=\"m\"/>\n"
        "<row Enable=\"Y\" Attribute_Name_Over_16=\"L2\" b=\"3\" Mnemonic=\"m\"/>\n"
        "<row Enable=\"N\" Attribute_Name_Over_16=\"L3\" b=\"4\" Mnemonic=\"m\"/>\n"
        "<row b=\"5\" Enable=\"Y\"/>\n"
        "<row Enable=\"Y\" Enablex=\"no\" Enabl=\"no\" a:Enable=\"no\" b=\"x&amp;y\"/>\n"
        "<row Enable=\"Y\" Enablex=\"no\" Enabl=\"no\" a:Enable=\"no\" b=\"tab\there\"/>\n"
        "<row   Enable = 'q'\tb=\"6\"/><row/>\n"
        "<row Enable=\"last\" b=\"7\"/>";
    QTemporaryDir dir;
    const QString path = dir.filePath("rows.xml");
    const TXMLAttributeNames names{"Enable", "Attribute_Name_Over_16", "b", "missing"};
    const TXMLAttributeNames others{"b", "Mnemonic"};
    for (const QByteArray& mark : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        for (const TXMLKeep keep : {TXMLKeep::AttributePlaces, TXMLKeep::Tree}) {
            SCOPED_TRACE(mark.isEmpty() ? "no mark" : "mark");
            SCOPED_TRACE(keep == TXMLKeep::Tree ? "tree only" : "places kept");
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(mark + "<r>" + rows + "</r>");
            out.close();
            TXMLDocument doc;
            ASSERT_TRUE(doc.LoadFromFile(path, nullptr, keep));
            std::vector<TXMLNode> all = doc.DocumentElement().ChildElements();
            ASSERT_EQ(all.size(), 9u);
            const auto expectSame = [&](const TXMLNode& row, const TXMLAttributeNames& asked) {
                std::vector<const char*> got(asked.Count()), tree(asked.Count());
                doc.ReadLoadedAttributes(row, asked, got.data());
                row.ReadAttributes(asked.Names(), tree.data(), asked.Count());
                for (size_t i = 0; i < asked.Count(); ++i) {
                    SCOPED_TRACE(asked.Names()[i]);
                    if (tree[i])
                        EXPECT_STREQ(got[i], tree[i]);
                    else
                        EXPECT_EQ(got[i], nullptr);
                }
            };
            for (const TXMLNode& row : all)
                expectSame(row, names);
            for (auto row = all.rbegin(); row != all.rend(); ++row)
                expectSame(*row, names);
            for (const TXMLNode& row : all) {
                expectSame(row, others);
                expectSame(row, names);
            }
            const char* v[4];
            doc.ReadLoadedAttributes(all[1], names, v);
            EXPECT_STREQ(v[1], "L2");
            doc.ReadLoadedAttributes(all[4], names, v);
            EXPECT_STREQ(v[0], "Y");
            EXPECT_STREQ(v[2], "x&y");
            doc.ReadLoadedAttributes(all[5], names, v);
            EXPECT_STREQ(v[2], "tab here");
            doc.ReadLoadedAttributes(all[8], names, v);
            EXPECT_STREQ(v[0], "last");
            EXPECT_EQ(v[3], nullptr);
        }
    }
}

TEST(XMLDocument, MissingAttributeIsAnErrorTheCallerTurnsIntoItsDefault)
{
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<r><row Enable=\"Y\" Empty=\"\"/></r>"));
    const TXMLNode row = doc.DocumentElement().FindNode("row");
    EXPECT_EQ(row.Attribute("Enable"), "Y");
    EXPECT_EQ(row.Attribute("Empty"), "");
    EXPECT_THROW(row.Attribute("enable"), EXMLError); // letter case counts
    QString value = "untouched";
    EXPECT_FALSE(row.TryAttribute("Rack", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_EQ(row.AttributeDef("Rack", "0"), "0");
    EXPECT_EQ(row.AttributeDef("Empty", "0"), "");
    // A node that is not there reads as nothing at all.
    const TXMLNode none = doc.DocumentElement().FindNode("Row");
    EXPECT_TRUE(none.IsNull());
    EXPECT_THROW(none.Attribute("Enable"), EXMLError);
    EXPECT_THROW(none.Text(), EXMLError);
    EXPECT_TRUE(none.ChildNodes().empty());
}

TEST(XMLDocument, TextOnlyOfElementsHoldingOneTextNodeOrNothing)
{
    struct Case {
        const char* xml;
        bool ok;
        const char* text;
    };
    const Case cases[] = {
        {"<a>192</a>", true, "192"},
        {"<a/>", true, ""},
        {"<a></a>", true, ""},
        {"<a> 5</a>", true, " 5"},
        {"<a><![CDATA[x<y]]></a>", true, "x<y"},
        {"<a>&lt;&amp;&#233;</a>", true, "<&\u00e9"},
        {"<a><b>1</b></a>", false, ""},
        {"<a>1<b/></a>", false, ""},
        {"<a>1<!--c-->2</a>", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        TXMLDocument doc;
        ASSERT_TRUE(doc.LoadFromBytes(QByteArray("<r>") + c.xml + "</r>"));
        const TXMLNode a = doc.DocumentElement().FindNode("a");
        QString text = "untouched";
        EXPECT_EQ(a.TryText(text), c.ok);
        if (c.ok) {
            EXPECT_EQ(text, QString::fromUtf8(c.text));
            EXPECT_EQ(a.Text(), QString::fromUtf8(c.text));
        } else {
            EXPECT_EQ(text, "untouched");
            EXPECT_THROW(a.Text(), EXMLError);
        }
    }
}

TEST(XMLDocument, RootIsTheDocumentElementWhateverComesBeforeIt)
{
    const QByteArray body = "<Par_Gen><S7_Protocol_IP1>192</S7_Protocol_IP1></Par_Gen>";
    const QByteArray cases[] = {
        body,
        "<?xml version=\"1.0\"?>" + body,
        "<!-- note -->" + body,
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- a -->\r\n<!-- b -->\r\n" + body,
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + body,
    };
    QTemporaryDir dir;
    for (const QByteArray& data : cases) {
        SCOPED_TRACE(data.constData());
        // From bytes and from a file, which is read another way.
        const QString path = dir.filePath("case.xml");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
        f.close();
        for (const bool fromFile : {false, true}) {
            TXMLDocument doc;
            ASSERT_TRUE(fromFile ? doc.LoadFromFile(path) : doc.LoadFromBytes(data));
            EXPECT_EQ(doc.DocumentElement().NodeName(), "Par_Gen");
            EXPECT_EQ(doc.DocumentElement().FindNode("S7_Protocol_IP1").Text(), "192");
        }
    }
    TXMLDocument file;
    ASSERT_TRUE(file.LoadFromFile(kt_test::FixturePath("xml/declaration_and_comment.xml")));
    EXPECT_EQ(file.DocumentElement().FindNode("NTP_Server_URL").Text(), "pool.example.org");
    // Indentation between elements is not a node of its own.
    EXPECT_EQ(Names(file.DocumentElement().ChildNodes()), (QStringList{"S7_Protocol_IP1", "NTP_Server_URL"}));
}

// The tree of a document is the same whatever way its text is written: line ends, references,
// blanks, character data, comments, processing instructions, a document type, an encoding.
TEST(XMLDocument, TreeOfEveryWayOfWritingTheText)
{
    struct Case {
        QByteArray xml;
        const char* tree;
    };
    const Case cases[] = {
        // Line ends become line feeds; in attributes blanks become spaces, references stay.
        {"<r>a\r\nb\rc</r>", "r(\"a\nb\nc\")"},
        {"<r a=\"x\r\ny\rz\tw\nv\" b=\"&#13;&#10;&#9;\"/>", "r[a=x y z w v,b=\r\n\t]()"},
        {"<r><!--x\r\ny--><![CDATA[p\r\nq]]></r>", "r(#\"x\ny\"C\"p\nq\")"},
        // Texts on either side of character data or a comment stay apart, even empty data.
        {"<r>a<![CDATA[]]>b</r>", "r(\"a\"C\"\"\"b\")"},
        {"<r>&lt;&#x1F600;<!--c-->&amp;</r>", "r(\"<\U0001F600\"#\"c\"\"&\")"},
        // A processing instruction is dropped and the texts around it are one.
        {"<r>a<?pi x?>b</r>", "r(\"ab\")"},
        // A text of blanks is layout, also when written as references, at any depth.
        {"<r>&#32;<a/>&#9;&#13;<b/> x </r>", "r(a()b()\" x \")"},
        {"<r><a>&#32;<b>&#9;<c/>&#10;</b></a>&#13;<d> x <e/></d>&#32;</r>", "r(a(b(c()))d(\" x \"e()))"},
        // Entities and default attributes of the document type are applied.
        {"<!DOCTYPE r [<!ENTITY e \"ent\"><!ATTLIST r d CDATA \"def\">]><r>&e;</r>", "r[d=def](\"ent\")"},
        {"<r a~b=\"1\"/>", "r[a~b=1]()"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\xE9\">\xE9</r>", "r[a=\u00e9](\"\u00e9\")"},
        {QByteArray("\xFF\xFE<\0r\0>\0\xE9\0<\0/\0r\0>\0", 18), "r(\"\u00e9\")"},
        {"\xEF\xBB\xBF<r>\xC3\xA9</r><!--end-->", "r(\"\u00e9\")#\"end\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml.constData());
        TXMLDocument doc;
        QString error;
        ASSERT_TRUE(doc.LoadFromBytes(c.xml, &error)) << error.toStdString();
        EXPECT_EQ(Tree(TXMLNode(doc.Handle())), QString::fromUtf8(c.tree));
    }
}

// The strict pass alone takes and refuses what a load does, with the same message.
TEST(XMLDocument, StrictPassAloneJudgesAsTheLoad)
{
    const QByteArray inputs[] = {
        "<r a=\"1\"/>", "<r>", "<", "<r", "", "\xEF\xBB\xBF<r/>", "<r a=\"1\" a=\"2\"/>", "<r>&nbsp;</r>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\xE9\"/>", "<r a=\"\xFF\"/>", "<r/>junk",
        // What the tree parser would let through, each judged as the strict reader judges it.
        "<r>a]]>b</r>", "<r/><![CDATA[x]]>", "<r><!-- a ---></r>", "<r><!-- a - b --></r>", "<r>&#X41;</r>",
        "<r>&#65;&#x10FFFF;&#x110000;</r>", "<r a='1'b='2'/>", "<r a='1' b='2' a='3'/>", "<r/>&amp;", "<r/><r/>",
        "<a:b:c/>", "<a:b c:d='1'/>", "<r\xC3\xA9 x='1'/>", "<r x\xC3\xA9='1'/>", "<r>\xF4\x90\x80\x80</r>",
        "<r>\xEF\xBF\xBF</r>", "<r>\xE0\x80\xAF</r>", "<r a='x\ty'>\x7F</r>", "<r><?pi x?></r>",
        "<?xml version='1.0' standalone='maybe'?><r/>", "<?xml version='1.0' encoding='latin1'?><r/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<r/>", "<?xml  version='1.0'?><r/>",
        "<?xml version='1.0'?><?xml version='1.0'?><r/>", "<r></r >", "<r></s>", "<r>&#32;</r>", "<r\n/>", "</r>",
    };
    for (const QByteArray& data : inputs) {
        SCOPED_TRACE(data.constData());
        TXMLDocument doc;
        QString loadError = "none", checkError = "none";
        EXPECT_EQ(TXMLDocument::CheckBytes(data, &checkError), doc.LoadFromBytes(data, &loadError));
        EXPECT_EQ(checkError, loadError);
    }
}

TEST(XMLDocument, DeclaredCodePageIsDecoded)
{
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r n=\"caf\xE9 \x80\"/>"));
    EXPECT_EQ(doc.DocumentElement().Attribute("n"), QString::fromUtf8("caf\u00e9 \u20ac"));
}

TEST(XMLDocument, BrokenFileReadsNothingAndLeavesFilesAlone)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.xml");
    ASSERT_TRUE(QFile::copy(kt_test::FixturePath("xml/broken.xml"), broken));
    const QByteArray before = kt_test::ReadFile(broken);

    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<old/>"));
    QString error;
    EXPECT_FALSE(doc.LoadFromFile(broken, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    EXPECT_EQ(kt_test::ReadFile(broken), before);

    for (const char* bad : {"", "   ", "<!-- only a comment -->", "<a><b></a>", "<a/><b/>", "text"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(doc.LoadFromBytes(bad));
        EXPECT_TRUE(doc.IsEmpty());
    }
    EXPECT_FALSE(doc.LoadFromFile(dir.filePath("missing.xml"), &error));
}

TEST(XMLDocument, FailedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    TXMLDocument doc;
    doc.AddChild("Ethernet_Update").AddChild("Version", "1000");
    QString error;
    EXPECT_FALSE(doc.SaveToFile(dir.filePath("no/such/folder/a.xml"), &error));
    EXPECT_FALSE(error.isEmpty());

    // A folder standing where the file should go cannot be replaced; what it holds survives.
    const QString blocked = dir.filePath("blocked.xml");
    ASSERT_TRUE(QDir(dir.path()).mkpath("blocked.xml"));
    ASSERT_TRUE(QFile(blocked + "/inner").open(QIODevice::WriteOnly));
    EXPECT_FALSE(doc.SaveToFile(blocked, &error));
    EXPECT_TRUE(QFile::exists(blocked + "/inner"));

    const QString good = dir.filePath("good.xml");
    ASSERT_TRUE(doc.SaveToFile(good));
    EXPECT_EQ(kt_test::ReadFile(good), QByteArray("<Ethernet_Update><Version>1000</Version></Ethernet_Update>"));
}

TEST(XMLDocument, LineBreaksAndTabsInAttributesRoundTrip)
{
    const QString values[] = {"two\r\nlines", "a\tb", "\n", "trailing \r", "  spaced  ", "q\"'<&>"};
    TXMLDocument doc;
    TXMLNode row = doc.AddChild("r").AddChild("row");
    for (int i = 0; i < int(std::size(values)); ++i)
        row.SetAttribute(QStringLiteral("a%1").arg(i), values[i]);
    TXMLDocument again;
    ASSERT_TRUE(again.LoadFromBytes(doc.SaveToBytes()));
    const TXMLNode back = again.DocumentElement().FindNode("row");
    for (int i = 0; i < int(std::size(values)); ++i)
        EXPECT_EQ(back.Attribute(QStringLiteral("a%1").arg(i)), values[i]) << i;
    // Texts of elements keep theirs too.
    TXMLDocument texts;
    TXMLNode root = texts.AddChild("r");
    for (int i = 0; i < int(std::size(values)); ++i)
        root.AddChild(QStringLiteral("t%1").arg(i), values[i]);
    TXMLDocument textsBack;
    ASSERT_TRUE(textsBack.LoadFromBytes(texts.SaveToBytes()));
    for (int i = 0; i < int(std::size(values)); ++i) {
        // A text of nothing but blanks is layout, not a value.
        const QString expected = values[i].trimmed().isEmpty() ? QString() : values[i];
        EXPECT_EQ(textsBack.DocumentElement().FindNode(QStringLiteral("t%1").arg(i)).Text(), expected) << i;
    }

    // The same from a file made by hand with character references.
    TXMLDocument fixture;
    ASSERT_TRUE(fixture.LoadFromFile(kt_test::FixturePath("xml/order.xml")));
    const TXMLNode first = fixture.DocumentElement().FindNode("S7_Protocol_Read").FindNode("row");
    EXPECT_EQ(first.Attribute("Mnemonic"), "two\r\nlines");
    EXPECT_EQ(first.Attribute("Tab"), "a\tb");
}

TEST(XMLDocument, CharactersXmlCannotHoldAreDroppedOnSave)
{
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QString("a") + QChar(0x01) + "b" + QChar(0x1F), "ab"},
        {QString("x") + QChar(0xFFFE) + QChar(0xFFFF) + "y", "xy"},
        {QString("lone") + QChar(0xD800) + "end", "loneend"},
        {QString::fromUtf8("\u00e9\u20ac\U0001F600"), QString::fromUtf8("\u00e9\u20ac\U0001F600")},
        {QString("keep\ttab"), "keep\ttab"},
        // U+0000 alone goes; what follows it stays.
        {QString("before") + QChar(0) + "after", "beforeafter"},
        // U+FEFF is an ordinary character inside a value, also at its start.
        {QString(QChar(0xFEFF)) + "lead" + QChar(0xFEFF), QString(QChar(0xFEFF)) + "lead" + QChar(0xFEFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out.toStdString());
        TXMLDocument doc;
        TXMLNode root = doc.AddChild("r");
        root.SetAttribute("v", c.in);
        root.AddChild("t", c.in);
        TXMLDocument again;
        ASSERT_TRUE(again.LoadFromBytes(doc.SaveToBytes()));
        EXPECT_EQ(again.DocumentElement().Attribute("v"), c.out);
        EXPECT_EQ(again.DocumentElement().FindNode("t").Text(), c.out);
    }
}

// Every form below is refused whole: the document stays empty and the reason is given.
TEST(XMLDocument, OnlyWellFormedXmlLoads)
{
    struct Case {
        const char* what;
        QByteArray data;
    };
    const Case cases[] = {
        {"bare ampersand", "<r a=\"x\">fish & chips</r>"},
        {"unknown entity in text", "<r>&nbsp;</r>"},
        {"unknown entity in an attribute", "<r a=\"&copy;\"/>"},
        {"repeated attribute", "<r><row a=\"1\" a=\"2\"/></r>"},
        // Rows of one form are read name against name; what breaks the form is still judged.
        {"repeated attribute in a row after one of another form",
         "<r><row a=\"1\" b=\"2\" c=\"3\"/><row a=\"1\" b=\"2\" a=\"3\"/><!--pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp--></r>"},
        {"< in a value of a row of the form before", "<r><row a=\"1\" b=\"2\"/><row a=\"1\" b=\"1<2\"/><!--pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp--></r>"},
        {"control character in a value of a row of the form before",
         "<r><row a=\"1\" b=\"2\"/><row a=\"1\" b=\"1\x01\"/><!--pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp--></r>"},
        {"bare & in a value of a row of the form before", "<r><row a=\"1\" b=\"2\"/><row a=\"1\" b=\"&\"/><!--pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp--></r>"},
        {"unclosed value in a row of the form before", "<r><row a=\"1\" b=\"2\"/><row a=\"1\" b=\"2/><!--pppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp--></r>"},
        {"< inside an attribute", "<r a=\"1<2\"/>"},
        {"text before the root", "junk<r/>"},
        {"text after the root", "<r/>junk"},
        {"second root", "<r/><r/>"},
        {"reference to U+0000", "<r a=\"ab&#0;cd\"/>"},
        {"reference to a control character", "<r>&#1;</r>"},
        {"reference to a surrogate", "<r>&#xD800;</r>"},
        {"reference beyond Unicode", "<r>&#x110000;</r>"},
        {"raw control character", "<r a=\"x\x01y\"/>"},
        {"raw U+FFFE", "<r>\xEF\xBF\xBE</r>"},
        {"invalid UTF-8", "<r a=\"\xFF\xFE\"/>"},
        {"truncated UTF-8", "<r a=\"\xC3\"/>"},
        {"overlong UTF-8", "<r a=\"\xC0\xAF\"/>"},
        {"UTF-8 encoded surrogate", "<r a=\"\xED\xA0\x80\"/>"},
        {"undeclared Latin-1", "<r a=\"Temp\xB0" "C caf\xE9\"/>"},
        {"declaration not first", " <?xml version=\"1.0\"?><r/>"},
        {"declaration after a comment", "<!--c--><?xml version=\"1.0\"?><r/>"},
        {"-- in a comment", "<r><!-- a -- b --></r>"},
        {"declared UTF-16, bytes 8-bit", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r/>"},
        {"declared Latin-1 behind a UTF-8 mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>"},
        {"declared UTF-8 behind a UTF-16 mark", Utf16("<?xml version='1.0' encoding='UTF-8'?><r/>", true)},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"no-such-code\"?><r/>"},
        {"bytes the declared code page lacks", "<?xml version=\"1.0\" encoding=\"US-ASCII\"?><r a=\"\xE9\"/>"},
        {"UTF-16 with a lone surrogate", QByteArray("\xFF\xFE<\0r\0>\0\x00\xD8<\0/\0r\0>\0", 18)},
        {"UTF-16 with an odd byte", QByteArray("\xFF\xFE<\0r\0/\0>\0x", 11)},
        {"UTF-16 without a mark", QByteArray("<\0r\0/\0>\0", 8)},
        {"document type after the root", "<r/><!DOCTYPE r>"},
        {"external entity", "<!DOCTYPE r [<!ENTITY e SYSTEM \"file:///etc/hostname\">]><r>&e;</r>"},
        {"cut off in a tag", "<r><row a=\"1\"/><row a="},
        {"XML 1.1", "<?xml version=\"1.1\"?><r/>"},
        // Found by fuzzing: the reader let U+0000 stand in a name, which the tree then cut, so two
        // different attributes came out as one name.
        {"U+0000 inside an attribute name", kt_test::ReadFile(kt_test::FixturePath("xml/fuzz_nul_in_attribute_name.xml"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLDocument doc;
        QString error;
        EXPECT_FALSE(doc.LoadFromBytes(c.data, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(doc.IsEmpty());
    }
}

TEST(XMLDocument, EncodingsByMarkOrDeclaration)
{
    const QString expected = QString::fromUtf8("Temp\u00b0C caf\u00e9 \u20ac");
    const QByteArray utf8 = expected.toUtf8();
    struct Case {
        const char* what;
        QByteArray data;
    };
    const Case cases[] = {
        {"UTF-8 without declaration", "<r a=\"" + utf8 + "\"/>"},
        {"UTF-8 mark", "\xEF\xBB\xBF<r a=\"" + utf8 + "\"/>"},
        {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"utf-8\"?><r a=\"" + utf8 + "\"/>"},
        {"UTF-16LE mark", Utf16("<r a=\"" + expected + "\"/>", true)},
        {"UTF-16BE mark", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><r a=\"" + expected + "\"/>", false)},
        {"Windows-1252 declared", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r a=\"Temp\xB0" "C caf\xE9 \x80\"/>"},
        {"ISO-8859-15 declared", "<?xml version='1.0' encoding='ISO-8859-15'?><r a=\"Temp\xB0" "C caf\xE9 \xA4\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLDocument doc;
        QString error;
        ASSERT_TRUE(doc.LoadFromBytes(c.data, &error)) << error.toStdString();
        EXPECT_EQ(doc.DocumentElement().Attribute("a"), expected);
    }
    TXMLDocument latin1;
    ASSERT_TRUE(latin1.LoadFromBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>Temp\xB0" "C caf\xE9</r>"));
    EXPECT_EQ(latin1.DocumentElement().Text(), QString::fromUtf8("Temp\u00b0C caf\u00e9"));
}

namespace {

// An element with `count` attributes a1="1" ... written `between` each other, as `tail` ends it.
QByteArray ManyAttributes(int count, const char* between = " ", const char* tail = "/>")
{
    QByteArray xml = "<r";
    for (int i = 1; i <= count; ++i)
        xml += between + QByteArray("a") + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"";
    return xml + tail;
}

QStringList NumberedNames(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("a%1").arg(i);
    return names;
}

} // namespace

// Nested far beyond any file of the program, a document is refused as malformed, not walked
// until the stack runs out.
TEST(XMLDocument, DeeplyNestedFileIsRefused)
{
    TXMLDocument doc;
    QString error;
    EXPECT_FALSE(doc.LoadFromFile(kt_test::FixturePath("xml/deep_nesting.xml"), &error));
    EXPECT_TRUE(error.startsWith("XML error at line 1, column ")) << error.toStdString();
    EXPECT_TRUE(error.contains("nested deeper than 1000 levels")) << error.toStdString();
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_FALSE(TXMLDocument::CheckBytes(kt_test::ReadFile(kt_test::FixturePath("xml/deep_nesting.xml"))));

    const auto nested = [](int levels) {
        return QByteArray("<a>").repeated(levels) + "&#32;" + QByteArray("</a>").repeated(levels);
    };
    ASSERT_TRUE(doc.LoadFromBytes(nested(1000), &error)) << error.toStdString();
    EXPECT_FALSE(doc.LoadFromBytes(nested(1001)));
    // Elements inside a document type are not elements of the document.
    EXPECT_TRUE(doc.LoadFromBytes("<!DOCTYPE r [<!ENTITY e \"" + QByteArray("&lt;a>").repeated(2000) + "\">]>" + nested(10)));
}

// Repeated attribute names are found however many attributes an element holds, and an element
// with very many reads as written.
TEST(XMLDocument, ElementWithVeryManyAttributes)
{
    const QByteArray file = kt_test::ReadFile(kt_test::FixturePath("xml/many_attributes.xml"));
    TXMLDocument doc;
    QString error;
    ASSERT_TRUE(doc.LoadFromFile(kt_test::FixturePath("xml/many_attributes.xml"), &error)) << error.toStdString();
    const QStringList names = doc.DocumentElement().AttributeNames();
    ASSERT_EQ(names.size(), 200001);
    EXPECT_EQ(names.first(), "a1");
    EXPECT_EQ(names.at(199999), "a200000");
    EXPECT_EQ(doc.DocumentElement().Attribute("last"), "200001");
    QByteArray repeated = file;
    repeated.replace(" last=", " a7=");
    EXPECT_FALSE(doc.LoadFromBytes(repeated, &error));
    EXPECT_TRUE(error.contains("Attribute 'a7' redefined.")) << error.toStdString();
    EXPECT_TRUE(doc.IsEmpty());

    // Around the lengths at which an element is read in parts, as a start tag and as an empty one.
    for (const int count : {63, 64, 65, 128, 129, 200}) {
        SCOPED_TRACE(count);
        for (const char* tail : {"/>", "><x/>t</r>"}) {
            const QByteArray xml = "<?xml version=\"1.0\"?><!--" + QByteArray(100, '=') + "--><p>" +
                                   ManyAttributes(count, " \n\t", tail) + "<q b=\"1\"/></p>";
            ASSERT_TRUE(doc.LoadFromBytes(xml, &error)) << error.toStdString();
            const TXMLNode r = doc.DocumentElement().FindNode("r");
            EXPECT_EQ(r.AttributeNames(), NumberedNames(count));
            EXPECT_EQ(r.Attribute(QStringLiteral("a%1").arg(count)), QString::number(count));
            EXPECT_EQ(r.ChildCount(), tail[0] == '/' ? 0 : 2);
            EXPECT_TRUE(doc.DocumentElement().FindNode("q"));
            // The same name twice, wherever the two stand, is refused.
            QByteArray twice = xml;
            twice.replace(QByteArray("a") + QByteArray::number(count) + "=", "a1=");
            EXPECT_FALSE(doc.LoadFromBytes(twice, &error));
            EXPECT_TRUE(error.contains("Attribute 'a1' redefined.")) << error.toStdString();
        }
    }

    struct Case {
        const char* what;
        QByteArray xml;
        bool loads;
        const char* message; // a part of the message of a refused document
    };
    const Case cases[] = {
        {"values holding > and /> and the other quote", ManyAttributes(100, " ", " z='a/>\"b>'/>"), true, ""},
        {"< inside a value of a later part", ManyAttributes(100, " ", " z=\"a<b\"/>"), false, "line 1"},
        {"unknown entity in a later part", ManyAttributes(100, " ", " z=\"&nope;\"/>"), false, "nope"},
        {"no blank between two attributes", ManyAttributes(100, " ", "z=\"1\"/>"), false, ""},
        {"a line break per attribute, an error after them", ManyAttributes(100, "\n", "/>\n<r/>"), false, "line 102"},
        {"in a comment", "<r><!--" + ManyAttributes(100, " ", " a1=\"1\"/>") + "--></r>", true, ""},
        {"in an entity", "<!DOCTYPE r [<!ENTITY e '" + ManyAttributes(100, " ", "/>") + "'>]><r>&e;</r>", false,
         "more than 64 attributes"},
        {"in character data", "<r><![CDATA[" + ManyAttributes(100, " ", " a1=\"1\"/>") + "]]></r>", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        error.clear();
        EXPECT_EQ(doc.LoadFromBytes(c.xml, &error), c.loads) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << error.toStdString();
    }

    // An element named as the parts are is the file's own.
    ASSERT_TRUE(doc.LoadFromBytes("<p><kt-attribute-run c=\"1\"/>" + ManyAttributes(70, " ", "/></p>"), &error))
        << error.toStdString();
    EXPECT_EQ(Tree(doc.DocumentElement()).left(40), "kt-attribute-run[c=1]()r[a1=1,a2=2,a3=3,");
    EXPECT_EQ(doc.DocumentElement().FindNode("r").AttributeNames(), NumberedNames(70));

    // Values the document type gives by default yield to written ones and follow them.
    ASSERT_TRUE(doc.LoadFromBytes("<!DOCTYPE r [<!ATTLIST r a3 CDATA \"d3\" a100 CDATA \"d100\" z CDATA \"dz\">]>" +
                                  ManyAttributes(100), &error))
        << error.toStdString();
    EXPECT_EQ(doc.DocumentElement().AttributeNames(), NumberedNames(100) << "z");
    EXPECT_EQ(doc.DocumentElement().Attribute("a100"), "100");
    EXPECT_EQ(doc.DocumentElement().Attribute("z"), "dz");
}
