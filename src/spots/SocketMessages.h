// The terminal's words for a failed cluster or packet-engine connection, by
// the Winsock error number the program has always shown them for.
#pragma once

#include "platform/TcpClient.h"

#include <QString>

namespace tenlog::spots {

// The message for a Winsock-style error number ("Error number n" when the
// number has no words of its own).
QString socketErrorMessage(int number);
// The error number a connection failure stands for.
int socketErrorNumber(platform::TcpError error);

} // namespace tenlog::spots
