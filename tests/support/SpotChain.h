// The spot receiving chain as the program wires it: the store, the intake
// (on a settable clock, with scripted dialogs and the station's own call)
// and the paths from the sources through the terminal.
#pragma once

#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotStore.h"
#include "spots/SpotTerminal.h"

namespace tenlog::testing {

struct SpotChain {
    SettableClock clock;
    ScriptedDialogs dialogs;
    spots::SpotStore store;
    QString ownCall = QStringLiteral("N1MM");
    spots::SpotIntake intake {store, clock, dialogs, [this] { return ownCall; }};
    spots::SpotTerminal terminal;
    spots::SpotPaths paths {terminal, intake};
};

} // namespace tenlog::testing
