#pragma once
// Asynchronous playing of the control libraries' sounds (wave files shipped as Qt resources).
//
// Playing goes through one port per process. The default port plays with Qt Multimedia (one
// sound at a time: a new sound stops the one still playing) or, when the build has no Qt
// Multimedia, plays nothing. Tests replace the port with a recording fake (sound/fakesound.h).
#include <QString>

namespace tvsound {

class SoundPort
{
public:
    virtual ~SoundPort() = default;
    // Starts playing the wave file at path (a Qt resource path such as ":/lib/sounds/1.wav" or a
    // file path) and returns at once. A missing or unreadable file plays nothing.
    virtual void play(const QString &path) = 0;
};

// Plays through the current port.
void play(const QString &path);

// The current port (the default one unless replaced).
SoundPort &port();
// Replaces the port (the caller keeps ownership); nullptr restores the default. Returns the port
// that was current before.
SoundPort *setPort(SoundPort *port);

// Whether the default port can make a sound at all (false in a build without Qt Multimedia).
bool hasAudioOutput();

} // namespace tvsound
