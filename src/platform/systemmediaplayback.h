#pragma once

#include "platform/audiooutput.h"
#include "platform/mediaplayback.h"

#include <memory>

// The player's device on this system: the playback engine on the sound card (SDL2), with
// the General MIDI soundfont from the system's soundfont folder.
std::unique_ptr<MediaPlayback> CreateSystemMediaPlayback();

// The same engine on any output and soundfont folder (tests, rendering to a file).
std::unique_ptr<MediaPlayback> CreateMediaPlayback(std::unique_ptr<AudioOutput> output,
                                                   const QString& soundFontFolder);
