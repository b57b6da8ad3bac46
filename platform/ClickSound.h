// A short click on the default sound device, for controls that answer the mouse audibly.
#pragma once

// Requests one click and returns at once. The click plays on a worker thread; without a sound
// library or device nothing happens, silently. A request while a click is still playing is
// dropped, so clicks never pile up.
void PlayClick();

// Sound on (the default) or off. Requests are counted either way.
void SetClickSoundEnabled(bool enabled);
bool ClickSoundEnabled();

// Requests made through PlayClick since the program started, played or not.
int ClickCount();

// True while a worker is still playing a click.
bool ClickPlaying();
