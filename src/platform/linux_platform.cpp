#include "platform/linux_platform.h"

#include "zevlink/inet_check.h"

namespace kestrova {

bool LinuxPlatform::Online() {
    return InetCheck();
}

}  // namespace kestrova
