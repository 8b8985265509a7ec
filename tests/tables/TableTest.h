#pragma once
// What the table dialog tests share: a temporary configuration folder with the scripted services,
// and a reading of a table file as one line per node, so that a written file is compared with a
// hand-made fixture node by node and attribute by attribute, in their order, whatever the
// white space between the elements.
#include "TestSupport.h"
#include "core/ULanguage.h"
#include "platform/ScriptedServices.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace table_test {

inline void Canonical_Node(const pugi::xml_node& n, int depth, QStringList& out)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    auto text = [](const char* s) {
        return QString::fromUtf8(s).replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\t'), QLatin1String("\\t"));
    };
    switch (n.type()) {
    case pugi::node_element: {
        QString line = indent + QLatin1Char('<') + QString::fromUtf8(n.name());
        for (const pugi::xml_attribute& a : n.attributes())
            line += QStringLiteral(" %1=\"%2\"").arg(QString::fromUtf8(a.name()), text(a.value()));
        out << line + QLatin1Char('>');
        for (const pugi::xml_node& c : n.children())
            Canonical_Node(c, depth + 1, out);
        break;
    }
    case pugi::node_comment:
        out << indent + QStringLiteral("<!--%1-->").arg(text(n.value()));
        break;
    case pugi::node_declaration:
        out << indent + QStringLiteral("<?xml?>");
        break;
    case pugi::node_pi:
        out << indent + QStringLiteral("<?%1?>").arg(QString::fromUtf8(n.name()));
        break;
    default:
        out << indent + QStringLiteral("text:") + text(n.value());
        break;
    }
}

// The document as lines; "not well-formed" when it does not parse.
inline QStringList Canonical(const QByteArray& xml)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.constData(), size_t(xml.size()),
                         pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration))
        return {QStringLiteral("not well-formed")};
    QStringList out;
    for (const pugi::xml_node& n : doc.children())
        Canonical_Node(n, 0, out);
    return out;
}

inline QByteArray Fixture(const QString& name)
{
    return kt_test::ReadFile(kt_test::FixturePath(QStringLiteral("tables/") + name));
}

// A configuration folder of its own, the built-in texts and the scripted services.
class TableDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Load_Default_Language();
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    void Put_File(const QString& name, const QByteArray& bytes) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& m : Services.MessageBoxes)
            texts << m.Text;
        return texts;
    }

    QTemporaryDir Dir;
    platform::ScriptedServices Services;
    platform::ScopedServices Scope{Services};
};

} // namespace table_test
