// A TCP port on 127.0.0.1 that nothing listens on now, for a daemon the
// logger starts to listen on. Another program may still take it before the
// daemon does; the daemon then fails to start and the caller tries again.
#pragma once

#include <QtGlobal>

namespace tenlog::platform {

// 0 when the system gives none.
quint16 unusedLoopbackPort();

}  // namespace tenlog::platform
