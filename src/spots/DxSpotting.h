// Everything spotting is made of, put together once: the 50-entry spot store,
// the intake that files recognised spot lines into it, the spotting
// terminal's text and paths, the three sources on their transports and the
// session that runs the chosen one. The main window owns one; the spotting
// window and the multiplier grid use its parts.
#pragma once

#include "spots/AgwSpotSource.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotSession.h"
#include "spots/SpotStore.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"
#include "spots/TncSpotSource.h"

#include <functional>

namespace tenlog::platform {
class Clock;
class Dialogs;
class SerialPort;
class TcpClient;
} // namespace tenlog::platform

namespace tenlog::spots {

// The connections spots arrive on: a DX cluster, a packet TNC on a serial
// port and a sound-card packet engine.
struct SpotTransports {
    platform::TcpClient& telnet;
    platform::SerialPort& tnc;
    platform::TcpClient& agw;
};

class DxSpotting {
public:
    DxSpotting(SpotTransports transports, const platform::Clock& clock, platform::Dialogs& dialogs,
               std::function<QString()> ownCall);

    SpotStore store;
    SpotIntake intake;
    SpotTerminal terminal;
    SpotPaths paths;
    TelnetSpotSource telnet;
    TncSpotSource tnc;
    AgwSpotSource agw;
    SpotSession session;
};

} // namespace tenlog::spots
