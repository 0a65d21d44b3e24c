#include "cw/KeyMap.h"

#include "cw/CwMessages.h"

namespace tenlog::cw {

namespace {

KeyAction ctrlWindow(int keyCode)
{
    switch (keyCode) {
    case 'B': return KeyAction::OpenSpectrumMap;
    case 'C':
    case 'S': return KeyAction::OpenCwSetup;
    case 'D': return KeyAction::OpenSpotting;
    case 'F': return KeyAction::OpenPrivileges;
    case 'G': return KeyAction::OpenRigTuning;
    case 'P': return KeyAction::OpenVoiceKeyer;
    case 'R': return KeyAction::OpenRigControl;
    case 'W': return KeyAction::OpenCwStrings;
    default: return KeyAction::None;
    }
}

} // namespace

KeyDecision KeyMap::keyDown(int keyCode, bool ctrlOnly, const KeyState& state)
{
    KeyDecision decision;
    // Only the character of the Ctrl combination's own key is discarded. A
    // Ctrl combination that types no character (X gives none for Ctrl+G, and
    // the Ctrl key alone types none) must not take the next key typed.
    m_afterCtrl = ctrlOnly;
    if (ctrlOnly) {
        decision.action = ctrlWindow(keyCode);
        if (decision.action != KeyAction::None) {
            decision.consumed = true;
            return decision;
        }
    }
    decision.stopRepeats = true;
    if (!state.phoneMode) {
        if (!state.cwOutput)
            return decision;
        if (keyCode == keyUp || keyCode == keyDown_) {
            decision.action = keyCode == keyUp ? KeyAction::SpeedUp : KeyAction::SpeedDown;
            decision.consumed = true;
        } else if (keyCode == keyF12) {
            decision.action = KeyAction::ToggleKeyboardCw;
            decision.consumed = true;
        } else if (keyCode >= keyF1 && keyCode <= keyF12) {
            decision.action = KeyAction::SendCwMessage;
            decision.code = keyCode == keyF10 ? keyF10Message : keyCode;
            decision.consumed = true;
        }
        return decision;
    }
    if (keyCode == keyF10) {
        decision.consumed = true; // no menu bar activation either
    } else if (keyCode >= keyF1 && keyCode <= keyF9) {
        decision.action = KeyAction::PlayVoiceMessage;
        decision.code = keyCode;
        decision.consumed = true;
    }
    return decision;
}

KeyDecision KeyMap::keyPress(int charCode, const KeyState& state)
{
    KeyDecision decision;
    decision.consumed = true;
    if (m_afterCtrl) {
        m_afterCtrl = false;
        return decision;
    }
    if (charCode == escape) {
        if (state.phoneMode && state.voicePlaying) {
            decision.action = KeyAction::StopVoicePlayback;
            return decision;
        }
        const bool sending = state.cwSending || state.winKeyBusy;
        decision.action = sending ? KeyAction::StopCwSending : KeyAction::ClearEntry;
        // Esc when idle goes on to the entry line, which clears itself.
        decision.consumed = sending;
        return decision;
    }
    if (state.keyboardCw && charCode == backspace
        && ((state.cwSending && state.unsentText) || state.winKeyBusy)) {
        decision.action = KeyAction::TakeBackTyped;
        return decision;
    }
    if (state.cwMode && state.keyboardCw) {
        decision.action = KeyAction::SendTyped;
        decision.code = (charCode >= 'a' && charCode <= 'z') ? charCode - 32 : charCode;
        return decision;
    }
    decision.consumed = false;
    return decision;
}

} // namespace tenlog::cw
