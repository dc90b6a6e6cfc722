// Colours for the player: from the artwork, dark, light, or the light override.
#include "entry/hooks.h"

void CSCoverSheetView_processStyleShouldGenerate(id, SEL, id, bool) {}

void CSCoverSheetView_applyColors(id, SEL, id, id) {}

void CSCoverSheetView_forceLightTheme(id, SEL) {}

void CSCoverSheetView_changeTimelineColor(id, SEL, id) {}
