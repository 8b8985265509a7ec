#pragma once
// Typed reads of the values of a component stream, shared by the readers of stored records: each
// takes a value of the expected type or raises the reader's "Invalid property value", and the
// enumeration helpers map between values and their identifiers by a table of names.
#include "platform/ComponentStream.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>

namespace platform::streamvalue {

[[noreturn]] inline void InvalidValue() { throw EReadError(QStringLiteral("Invalid property value")); }

[[noreturn]] inline void NoProperty(const QString& Name)
{
    throw EReadError(QStringLiteral("Property %1 does not exist").arg(Name));
}

// The identifier of an enumeration value; empty outside the table.
template <std::size_t N>
QString Name(const char* const (&Names)[N], int Value)
{
    return Value >= 0 && std::size_t(Value) < N ? QString::fromLatin1(Names[Value]) : QString();
}

// The enumeration value of an identifier (any case).
template <std::size_t N>
int Ident(const char* const (&Names)[N], const TPropValue& v)
{
    if (v.Type != vaIdent)
        InvalidValue();
    for (std::size_t i = 0; i < N; ++i)
        if (v.Str.compare(QLatin1String(Names[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    InvalidValue();
}

inline int Int(const TPropValue& v)
{
    if (!v.IsInteger())
        InvalidValue();
    return int(v.Int);
}

inline bool Bool(const TPropValue& v)
{
    if (!v.IsBoolean())
        InvalidValue();
    return v.Bool;
}

inline QString Str(const TPropValue& v)
{
    if (!v.IsString())
        InvalidValue();
    return v.Str;
}

// A colour given by its identifier ("clRed") or its number.
inline TColor ColorOf(const TPropValue& v)
{
    if (v.Type == vaIdent) {
        TColor c = 0;
        if (!IdentToColor(v.Str, c))
            InvalidValue();
        return c;
    }
    return TColor(Int(v));
}

inline double Float(const TPropValue& v)
{
    if (v.Type == vaExtended)
        return v.Float;
    return Int(v);
}

inline QByteArray Bin(const TPropValue& v)
{
    if (v.Type != vaBinary)
        InvalidValue();
    return v.Bin;
}

inline QStringList List(const TPropValue& v)
{
    if (v.Type != vaList)
        InvalidValue();
    return v.Items;
}

// Property names compare without case.
inline bool Is(const QString& Name, const char* Expected)
{
    return Name.compare(QLatin1String(Expected), Qt::CaseInsensitive) == 0;
}

} // namespace platform::streamvalue
