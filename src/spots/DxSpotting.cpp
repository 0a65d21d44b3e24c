#include "spots/DxSpotting.h"

namespace tenlog::spots {

DxSpotting::DxSpotting(SpotTransports transports, const platform::Clock& clock, platform::Dialogs& dialogs,
                       std::function<QString()> ownCall)
    : intake(store, clock, dialogs, ownCall)
    , paths(terminal, intake)
    , telnet(transports.telnet)
    , tnc(transports.tnc)
    , agw(transports.agw)
    , session(terminal, paths, intake, {telnet, tnc, agw}, dialogs, std::move(ownCall))
{
}

} // namespace tenlog::spots
