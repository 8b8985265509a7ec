#pragma once
// Work run from an event handler or a user hook: an error it raises ends that work only and
// never leaves the handler.

namespace platform {

template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

} // namespace platform
