#pragma once
// Properties as the components keep them: a field FName read by Name() and written by
// SetName(). A property with nothing to do on a write is declared with KT_PROPERTY; a setter with
// side effects is written out and uses Change, so that its effects run only on a real change.
#include <type_traits>
#include <utility>

namespace platform {

// Small values go by value, the rest by const reference.
template <class T>
using PropertyIn = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

// Stores Value into Field; true when they differed.
template <class T, class V>
bool Change(T& Field, V&& Value)
{
    if (Field == Value)
        return false;
    Field = std::forward<V>(Value);
    return true;
}

} // namespace platform

// Name() returns FName; SetName(Value) stores it and does nothing else.
#define KT_PROPERTY(Type, Name)                                                                    \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(platform::PropertyIn<Type> Value) { F##Name = Value; }
