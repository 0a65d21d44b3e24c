#include "spots/SocketMessages.h"

#include <map>

namespace tenlog::spots {

QString socketErrorMessage(int number)
{
    static const std::map<int, const char*> kMessages{
        {7, "ERROR: Out of memory."},
        {380, "ERROR: The property value is invalid."},
        {383, "ERROR: The property is read-only."},
        {394, "ERROR: The property can't be read."},
        {1004, "ERROR: The operation was canceled."},
        {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
        {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
        {10036, "ERROR: A blocking Winsock operation in progress."},
        {10037, "ERROR: The operation is completed. No blocking operation in progress"},
        {10038, "ERROR: The descriptor is not a socket."},
        {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
        {10043, "ERROR: The specified port is not supported."},
        {10048, "ERROR: Address in use."},
        {10049, "ERROR: Address not available from the local machine."},
        {10050, "ERROR: Network subsystem failed."},
        {10051, "ERROR: The network cannot be reached from this host at this time."},
        {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
        {10053, "ERROR: Connection is aborted due to timeout or other failure."},
        {10054, "ERROR: The connection is reset by remote side.!"},
        {10055, "ERROR: No buffer space is available."},
        {10056, "ERROR: Socket is already connected."},
        {10057, "ERROR: Socket is not connected."},
        {10058, "ERROR: Socket has been shut down."},
        {10060, "ERROR: Socket has been shut down."},
        {10061, "ERROR: Connection is forcefully rejected."},
        {10093, "ERROR: WinsockInit should be called first."},
        {11001, "ERROR: Authoritative answer: Host not found."},
        {11002, "ERROR: Non-Authoritative answer: Host not found."},
        {11003, "ERROR: Non-recoverable errors."},
        {11004, "ERROR: Valid name, no data record of requested type."},
    };
    const auto found = kMessages.find(number);
    if (found == kMessages.end())
        return QStringLiteral("Error number ") + QString::number(number);
    return QString::fromLatin1(found->second);
}

int socketErrorNumber(platform::TcpError error)
{
    using platform::TcpError;
    switch (error) {
    case TcpError::ConnectionRefused:
        return 10061;
    case TcpError::RemoteHostClosed:
        return 10054;
    case TcpError::HostNotFound:
        return 11001;
    case TcpError::SocketAccess:
        return 10013; // WSAEACCES: no words of its own
    case TcpError::SocketResource:
        return 10055;
    case TcpError::Timeout:
        return 10060;
    case TcpError::Network:
        return 10051;
    case TcpError::None:
    case TcpError::Other:
        break;
    }
    return 10053;
}

} // namespace tenlog::spots
