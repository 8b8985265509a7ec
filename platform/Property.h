#pragma once
// Properties as the components keep them: a field FName read by Name() and written by
// SetName(). A property with nothing to do on a write is declared with KT_PROPERTY, one whose
// write has a single follow-up step (a repaint, a change event) with KT_PROPERTY_NOTIFY or
// KT_PROPERTY_CHANGE, an owned object copied in by Assign with KT_OBJECT_PROPERTY; any other
// setter is written out and uses Change, so that its effects run only on a real change.
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

// SetName stores the value and then calls Notify(), on every write.
#define KT_PROPERTY_NOTIFY(Type, Name, Notify)                                                     \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(platform::PropertyIn<Type> Value)                                               \
    {                                                                                              \
        F##Name = Value;                                                                           \
        Notify();                                                                                  \
    }

// SetName stores the value and calls Notify() only when the value changed.
#define KT_PROPERTY_CHANGE(Type, Name, Notify)                                                     \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(platform::PropertyIn<Type> Value)                                               \
    {                                                                                              \
        if (platform::Change(F##Name, Value))                                                      \
            Notify();                                                                              \
    }

// An owned object (font, pen, bitmap, string list): Name() gives the object itself and
// SetName(Value) copies Value into it by Assign.
#define KT_OBJECT_PROPERTY(Type, Name)                                                             \
    Type& Name() { return F##Name; }                                                               \
    const Type& Name() const { return F##Name; }                                                   \
    void Set##Name(const Type& Value) { F##Name.Assign(Value); }
