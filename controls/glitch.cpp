// The glitch effect on the title after a track change made from the player.
#include "entry/hooks.h"

void CSCoverSheetView_startGlitchEffect(id, SEL) {}
