#include "cw/KeyMap.h"

#include <gtest/gtest.h>

using namespace tenlog::cw;

namespace {

KeyState cw(bool output = true)
{
    KeyState s;
    s.cwOutput = output;
    return s;
}

KeyState phone()
{
    KeyState s;
    s.phoneMode = true;
    s.cwMode = false;
    return s;
}

} // namespace

TEST(KeyMap, KeysGoingDown)
{
    const struct {
        const char* name;
        int key;
        bool ctrl;
        KeyState state;
        KeyAction action;
        int code;
        bool consumed;
        bool stopsRepeats;
    } rows[] = {
        {"ctrl+c", 'C', true, cw(), KeyAction::OpenCwSetup, 0, true, false},
        {"ctrl+s", 'S', true, phone(), KeyAction::OpenCwSetup, 0, true, false},
        {"ctrl+p", 'P', true, cw(), KeyAction::OpenVoiceKeyer, 0, true, false},
        {"ctrl+w", 'W', true, cw(), KeyAction::OpenCwStrings, 0, true, false},
        {"ctrl+r", 'R', true, cw(), KeyAction::OpenRigControl, 0, true, false},
        {"ctrl+f1 sends F1", 112, true, cw(), KeyAction::SendCwMessage, 112, true, true},
        {"ctrl+x goes on", 'X', true, cw(), KeyAction::None, 0, false, true},
        {"F1", 112, false, cw(), KeyAction::SendCwMessage, 112, true, true},
        {"F10 sends its message", 121, false, cw(), KeyAction::SendCwMessage, 124, true, true},
        {"F11", 122, false, cw(), KeyAction::SendCwMessage, 122, true, true},
        {"F12", 123, false, cw(), KeyAction::ToggleKeyboardCw, 0, true, true},
        {"up", 38, false, cw(), KeyAction::SpeedUp, 0, true, true},
        {"down", 40, false, cw(), KeyAction::SpeedDown, 0, true, true},
        {"F1 without output", 112, false, cw(false), KeyAction::None, 0, false, true},
        {"up without output", 38, false, cw(false), KeyAction::None, 0, false, true},
        {"F12 without output", 123, false, cw(false), KeyAction::None, 0, false, true},
        {"letter", 'K', false, cw(), KeyAction::None, 0, false, true},
        {"phone F3", 114, false, phone(), KeyAction::PlayVoiceMessage, 114, true, true},
        {"phone F10 does nothing", 121, false, phone(), KeyAction::None, 0, true, true},
        {"phone F11 goes on", 122, false, phone(), KeyAction::None, 0, false, true},
        {"phone up goes on", 38, false, phone(), KeyAction::None, 0, false, true},
    };
    for (const auto& row : rows) {
        KeyMap map;
        const KeyDecision d = map.keyDown(row.key, row.ctrl, row.state);
        EXPECT_EQ(d.action, row.action) << row.name;
        EXPECT_EQ(d.code, row.code) << row.name;
        EXPECT_EQ(d.consumed, row.consumed) << row.name;
        EXPECT_EQ(d.stopRepeats, row.stopsRepeats) << row.name;
    }
}

TEST(KeyMap, CharactersTyped)
{
    KeyState keyboard = cw();
    keyboard.keyboardCw = true;
    KeyState sendingTyped = keyboard;
    sendingTyped.cwSending = true;
    sendingTyped.unsentText = true;
    KeyState sending = cw();
    sending.cwSending = true;
    KeyState playing = phone();
    playing.voicePlaying = true;
    KeyState phoneKeyboard = phone();
    phoneKeyboard.keyboardCw = true;
    KeyState winKeyBusy = cw();
    winKeyBusy.winKeyBusy = true;
    KeyState winKeyTyping = keyboard;
    winKeyTyping.winKeyBusy = true;
    const struct {
        const char* name;
        int character;
        KeyState state;
        KeyAction action;
        int code;
        bool consumed;
    } rows[] = {
        {"esc idle clears the entry line", 27, cw(), KeyAction::ClearEntry, 0, false},
        {"esc while sending stops it", 27, sending, KeyAction::StopCwSending, 0, true},
        {"esc while playing stops it", 27, playing, KeyAction::StopVoicePlayback, 0, true},
        {"esc in phone when silent", 27, phone(), KeyAction::ClearEntry, 0, false},
        {"esc while the winkey sends stops it", 27, winKeyBusy, KeyAction::StopCwSending, 0, true},
        {"backspace while the winkey sends takes back", 8, winKeyTyping, KeyAction::TakeBackTyped, 0, true},
        {"keyboard cw sends c as C", 'c', keyboard, KeyAction::SendTyped, 'C', true},
        {"keyboard cw sends enter", 13, keyboard, KeyAction::SendTyped, 13, true},
        {"backspace takes back unsent", 8, sendingTyped, KeyAction::TakeBackTyped, 0, true},
        {"backspace with nothing unsent is sent", 8, keyboard, KeyAction::SendTyped, 8, true},
        {"typing without keyboard cw", 'k', cw(), KeyAction::None, 0, false},
        {"keyboard cw types nothing in phone", 'k', phoneKeyboard, KeyAction::None, 0, false},
    };
    for (const auto& row : rows) {
        KeyMap map;
        const KeyDecision d = map.keyPress(row.character, row.state);
        EXPECT_EQ(d.action, row.action) << row.name;
        EXPECT_EQ(d.code, row.code) << row.name;
        EXPECT_EQ(d.consumed, row.consumed) << row.name;
    }
}

TEST(KeyMap, OnlyTheCtrlKeysOwnCharacterIsDiscarded)
{
    KeyMap map;
    map.keyDown('C', true, cw());
    EXPECT_TRUE(map.keyPress(3, cw()).consumed); // Ctrl+C's own character
    map.keyDown('K', false, cw());
    EXPECT_FALSE(map.keyPress('K', cw()).consumed);
    // Ctrl+F1, Ctrl+G under X and the Ctrl key alone type no character: the
    // next key is the operator's and goes through.
    for (const int ctrlKey : {112, int('G'), 17}) {
        map.keyDown(ctrlKey, true, cw());
        map.keyDown('K', false, cw());
        EXPECT_FALSE(map.keyPress('K', cw()).consumed) << ctrlKey;
    }
}
