#pragma once
// The services on the real system: Qt dialogs and desktop services, the monotonic clock, POSIX
// ICMP sockets, libcurl for HTTP and QProcess for programs.
#include "platform/Services.h"

namespace platform {

class RealServices : public Services {
public:
    KT_SERVICES_OVERRIDES

    // Largest HTTP answer kept; a longer one fails rather than filling memory.
    static constexpr int kMaxHttpBody = 16 * 1024 * 1024;
};

// Converts a "Description|*.ext|..." filter into Qt's "Description (*.ext);;..." form.
QString QtFilterFromDialogFilter(const QString& filter);
// True when `address` is four decimal numbers 0..255 joined by "." (nothing else).
bool IsDottedDecimalAddress(const QString& address);

} // namespace platform
