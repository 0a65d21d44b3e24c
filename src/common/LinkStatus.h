// How one of the program's device links stands, in the words the main
// window shows beside the mode: the radio today, and in the same form the
// spot source and the keyer. A link reports a new LinkStatus whenever what
// the operator should see changes.
#pragma once

#include <QString>

namespace tenlog::common {

enum class LinkHealth {
    Off,     // not in use: nothing is shown
    Waiting, // started, no answer yet
    Up,      // working
    Trouble, // not answering, lost, or a command failed: the operator must know
};

struct LinkStatus {
    LinkHealth health = LinkHealth::Off;
    // One short line: "Radio: 28.47500 MHz", "Radio: not answering".
    QString text;
    // The longer reason, for a tooltip and a screen reader's description.
    QString detail;

    bool operator==(const LinkStatus&) const = default;
};

} // namespace tenlog::common
