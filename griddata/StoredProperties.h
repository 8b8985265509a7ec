#pragma once
// The stored properties of an object record, each said once: a table binds a property name to how
// its value is written and read, and drives both the writer (in table order) and the reader (by
// name, any case). Also the set values of such records, by a table of member names.
#include "platform/ComponentStream.h"
#include "platform/ComponentStreamValues.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace gridstream {

// The names of the members present in a set, in the order of the table.
template <class Flags, std::size_t N>
QStringList SetMembers(const char* const (&Names)[N], Flags Set)
{
    QStringList members;
    for (std::size_t i = 0; i < N; ++i)
        if ((quint32(Set.toInt()) >> i) & 1u)
            members << QString::fromLatin1(Names[i]);
    return members;
}

// A stored set value; a member outside the table is an invalid value.
template <class Flags, std::size_t N>
Flags SetOf(const char* const (&Names)[N], const platform::TPropValue& v)
{
    if (v.Type != platform::vaSet)
        platform::streamvalue::InvalidValue();
    Flags s;
    for (const QString& m : v.Items) {
        platform::TPropValue one;
        one.Type = platform::vaIdent;
        one.Str = m;
        s |= typename Flags::enum_type(1u << platform::streamvalue::Ident(Names, one));
    }
    return s;
}

template <class T>
struct TStoredProperty {
    const char* Name;
    // Writes the value under its full name, or nothing where the value is not stored.
    std::function<void(platform::TComponentWriter&, const QString&, const T&)> Write;
    std::function<void(T&, const platform::TPropValue&)> Read;
};

template <class T>
class TStoredProperties {
public:
    TStoredProperties(std::initializer_list<TStoredProperty<T>> Items) : FItems(Items) {}

    // Each property in table order, its name after Prefix.
    void Write(platform::TComponentWriter& w, const T& Object, const QString& Prefix = QString()) const
    {
        for (const TStoredProperty<T>& p : FItems)
            p.Write(w, Prefix + QLatin1String(p.Name), Object);
    }

    // Sets the property of that name; false when the table has none.
    bool Read(T& Object, const QString& Name, const platform::TPropValue& v) const
    {
        for (const TStoredProperty<T>& p : FItems)
            if (platform::streamvalue::Is(Name, p.Name)) {
                p.Read(Object, v);
                return true;
            }
        return false;
    }

private:
    std::vector<TStoredProperty<T>> FItems;
};

// ---- the bindings ----------------------------------------------------------------------------
// A getter or setter is a member function or a data member of the record; the record's class is
// the getter's.

namespace detail {

template <class G>
struct TRecordOf;
template <class M, class C>
struct TRecordOf<M C::*> {
    using Type = C;
};
template <class G>
using Record = typename TRecordOf<G>::Type;
template <class G>
using Value = std::decay_t<std::invoke_result_t<G, const Record<G>&>>;

template <class S, class T, class V>
void Assign(S Put, T& o, V&& Value)
{
    if constexpr (std::is_member_object_pointer_v<S>)
        o.*Put = std::forward<V>(Value);
    else
        std::invoke(Put, o, std::forward<V>(Value));
}

// Write stores a value under a name, Read turns a stored value into one.
template <class G, class S, class W, class R>
TStoredProperty<Record<G>> Bind(const char* Name, G Get, S Put, W Write, R Read)
{
    using T = Record<G>;
    return {Name,
            [Get, Write](platform::TComponentWriter& w, const QString& n, const T& o) {
                std::invoke(Write, w, n, std::invoke(Get, o));
            },
            [Put, Read](T& o, const platform::TPropValue& v) { Assign(Put, o, std::invoke(Read, v)); }};
}

} // namespace detail

template <class G, class S>
auto Integer(const char* Name, G Get, S Put)
{
    return detail::Bind(Name, Get, Put, &platform::TComponentWriter::WriteInteger, &platform::streamvalue::Int);
}

template <class G, class S>
auto Boolean(const char* Name, G Get, S Put)
{
    return detail::Bind(Name, Get, Put, &platform::TComponentWriter::WriteBoolean, &platform::streamvalue::Bool);
}

template <class G, class S>
auto Color(const char* Name, G Get, S Put)
{
    return detail::Bind(Name, Get, Put, &platform::TComponentWriter::WriteColor, &platform::streamvalue::ColorOf);
}

// A text is stored only when it is not empty.
template <class G, class S>
auto Text(const char* Name, G Get, S Put)
{
    const auto write = [](platform::TComponentWriter& w, const QString& n, const QString& s) {
        if (!s.isEmpty())
            w.WriteString(n, s);
    };
    return detail::Bind(Name, Get, Put, write, &platform::streamvalue::Str);
}

// An enumeration by the identifiers of its table.
template <std::size_t N, class G, class S>
auto Enum(const char* Name, const char* const (&Names)[N], G Get, S Put)
{
    using V = detail::Value<G>;
    const auto* names = &Names;
    const auto write = [names](platform::TComponentWriter& w, const QString& n, V x) {
        w.WriteIdent(n, platform::streamvalue::Name(*names, int(x)));
    };
    const auto read = [names](const platform::TPropValue& v) { return V(platform::streamvalue::Ident(*names, v)); };
    return detail::Bind(Name, Get, Put, write, read);
}

// A set by the member names of its table.
template <std::size_t N, class G, class S>
auto Set(const char* Name, const char* const (&Names)[N], G Get, S Put)
{
    using V = detail::Value<G>;
    const auto* names = &Names;
    const auto write = [names](platform::TComponentWriter& w, const QString& n, V x) {
        w.WriteSet(n, SetMembers(*names, x));
    };
    const auto read = [names](const platform::TPropValue& v) { return SetOf<V>(*names, v); };
    return detail::Bind(Name, Get, Put, write, read);
}

// A data member of a plain record.
template <class M, class C>
auto Integer(const char* Name, M C::*Field)
{
    return Integer(Name, Field, Field);
}

template <class M, class C>
auto Boolean(const char* Name, M C::*Field)
{
    return Boolean(Name, Field, Field);
}

template <class M, class C>
auto Text(const char* Name, M C::*Field)
{
    return Text(Name, Field, Field);
}

} // namespace gridstream
