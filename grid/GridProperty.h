#pragma once
// The property shapes the grid's controls and settings objects repeat, on top of KT_PROPERTY:
// a field FName read by Name() and written by SetName(), where the write has one follow-up step
// (a repaint, a change event), and owned objects copied in by Assign.
#include "platform/Property.h"

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
