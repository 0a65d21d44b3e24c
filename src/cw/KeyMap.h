// The main window's keyboard map, as one table the window consults: the
// Ctrl keys that open windows, the F-keys that send CW messages or play voice
// messages, the speed keys, keyboard CW with its backspace, and Esc, which
// stops what is on the air before it clears the entry line. Any key also ends
// a running F1 repeat. Key codes are the window system's virtual key numbers
// (F1 = 112, Up = 38, Down = 40, 'A' = 65); characters are their codes.
//
// A key is seen twice: first as a key (keyDown), then, when it types a
// character and was not consumed, as that character (keyPress).
#pragma once

#include <QString>

namespace tenlog::cw {

enum class KeyAction {
    None,
    OpenSpectrumMap,
    OpenCwSetup,
    OpenSpotting,
    OpenPrivileges,
    OpenRigTuning,
    OpenVoiceKeyer,
    OpenRigControl,
    OpenCwStrings,
    SpeedUp,
    SpeedDown,
    SendCwMessage,     // code: the message key (F10 as 124)
    ToggleKeyboardCw,
    PlayVoiceMessage,  // code: 112-120
    StopVoicePlayback,
    StopCwSending,
    ClearEntry,
    TakeBackTyped,
    SendTyped,         // code: the character, upper case
};

struct KeyState {
    bool phoneMode = false;   // the current mode is "PH"
    bool cwOutput = false;    // a CW keying output is chosen
    bool keyboardCw = false;
    bool cwSending = false;
    bool unsentText = false;  // typed text still waits to be sent
    bool winKeyBusy = false;  // the WinKey keyer is the output and is sending
    bool voicePlaying = false;
    bool cwMode = true;       // the current mode is "CW" (keyboard CW types only there)
};

struct KeyDecision {
    KeyAction action = KeyAction::None;
    int code = 0;
    // The key goes no further (the focused box never sees it).
    bool consumed = false;
    // A running F1 repeat (CW and voice) ends.
    bool stopRepeats = false;
};

class KeyMap {
public:
    // A key going down; ctrlOnly when Ctrl is held without Shift or Alt.
    KeyDecision keyDown(int keyCode, bool ctrlOnly, const KeyState& state);
    // The character a key typed.
    KeyDecision keyPress(int charCode, const KeyState& state);

    // Virtual key numbers the map uses.
    static constexpr int keyUp = 38;
    static constexpr int keyDown_ = 40;
    static constexpr int escape = 27;
    static constexpr int backspace = 8;

private:
    // Set by a Ctrl combination: the character that same key types is
    // discarded. The next key going down ends it.
    bool m_afterCtrl = false;
};

} // namespace tenlog::cw
