#include "osversion/VersionCode.h"

bool IsCurrentCode(unsigned code) {
    switch (code) {
    case 6:  // Vista SP2
    case 8:  // 7 SP1
    case 9:  // 8
    case 10: // 8.1
    case 11: // 10.0 workstation
    case 20: // Server 2008 SP2
    case 22: // Server 2008 R2 SP1
    case 23: // Server 2012
    case 24: // Server 2012 R2
    case 25: // 10.0 server
        return true;
    default:
        return false;
    }
}
