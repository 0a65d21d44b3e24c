// What happens to received text on each source: which of it the terminal
// shows and which lines go to the store as spots.
//
// Telnet: whole lines from the line assembler; every line is shown (unless
// "List DX Only"), and a line starting "DX" is a spot. A prompt that has no
// line end yet ("login: ") is shown as it stands and not again when its line
// ends. No duplicate test: a cluster does not repeat itself.
// TNC: whole lines with their line feed; lines already in the recent
// terminal text are skipped, since a TNC hears the same spot from several
// digipeaters.
// Packet engine: one frame at a time; the monitor header line of a frame is
// dropped when no station is connected.
#pragma once

#include <QByteArray>
#include <QString>

namespace tenlog::spots {

class SpotIntake;
class SpotTerminal;

class SpotPaths {
public:
    SpotPaths(SpotTerminal& terminal, SpotIntake& intake);

    // The "List DX Only" box: show only spot lines.
    void showSpotLinesOnly(bool on) { m_spotLinesOnly = on; }
    bool showsSpotLinesOnly() const { return m_spotLinesOnly; }

    void takeTelnetLine(const QString& line);
    void showTelnetPartial(const QString& partial);
    // Forget a prompt shown early (the connection was closed or renewed).
    void resetTelnet() { m_partialShown = 0; }

    void takeTncLine(const QString& line);

    void takeAgwFrame(char kind, const QString& fromCall, const QByteArray& data, const QString& connectedCall);

    // A slice of received lines: the terminal and the intake announce what
    // the slice changed once, at its end.
    void beginSlice();
    void endSlice();

private:
    void passSpot(const QString& line);

    SpotTerminal& m_terminal;
    SpotIntake& m_intake;
    bool m_spotLinesOnly = false; // the terminal shows spot lines and nothing else
    qsizetype m_partialShown = 0;
};

} // namespace tenlog::spots
