// Plays one WAV file at a time through the sound card, for the voice prompts
// and the voice keyer. Playback runs in the background; the owner learns of
// its end through a handler or by polling isPlaying(). A file that is missing
// or cannot be played, or a machine without sound, makes play() return false
// and nothing more: no message, no exception.
#pragma once

#include <QString>

#include <functional>

namespace tenlog::platform {

class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;

    // Cuts off the playback in progress, if any, then starts wavPath and
    // returns at once. False when wavPath could not be started; what was
    // playing has been cut off all the same.
    virtual bool play(const QString& wavPath) = 0;
    // Cuts off the playback in progress; nothing happens when none is.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // Called from the event loop once a playback has ended by itself (or
    // broke off on a device error). A playback cut off by stop() or by the
    // next play() ends without it, and it is never called from inside play()
    // or stop(), so the handler may start the next file.
    virtual void setFinishedHandler(std::function<void()> handler) = 0;
};

} // namespace tenlog::platform
