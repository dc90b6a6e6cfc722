// The press animation every button of the player plays.
#pragma once

#include "entry/properties.h"
#include "platform/uikit/uikit.h"

// The cover sheet's button `name` grows by a fifth, moved by `direction` x 0.055 of the
// player's width (0 for a button that only grows), and springs back. The button and the width
// are read as each spring starts; the return starts whether or not the first spring finished,
// so every press ends at rest.
void animatePress(id sheet, AttachedProperty<UIButton> name, int direction);
