#include "platform/PlatformInfo.h"

namespace platform {

TPlatformInfo& PlatformInfo()
{
    static TPlatformInfo info;
    return info;
}

} // namespace platform
