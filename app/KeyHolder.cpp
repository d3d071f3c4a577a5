#include "app/KeyHolder.h"

namespace {
KeyHolder* g_pKeyHolder = nullptr;
}

KeyHolder& CreateKeyHolder(CString keyPath) {
    ReleaseKeyHolder();
    g_pKeyHolder = new KeyHolder(static_cast<CString&&>(keyPath));
    return *g_pKeyHolder;
}

KeyHolder* CurrentKeyHolder() {
    return g_pKeyHolder;
}

void ReleaseKeyHolder() {
    delete g_pKeyHolder;
    g_pKeyHolder = nullptr;
}
