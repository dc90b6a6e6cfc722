// Pieces of the now-playing update shared between its files.
#pragma once

#include "platform/foundation/foundation.h"

class UILabel;

// "value " for a present value; nil when the value is missing (the label then shows "N/A").
Ref<NSString> nowPlayingText(NSObject* value);

// Slides the artwork out and the new one in after a rewind or skip pressed on the player
// (`prevAction` 1 or -1); with the mini layout built it only fades and scales in place.
void slideArtwork();
