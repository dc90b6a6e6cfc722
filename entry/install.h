// The plug-in's initialiser: binds the settings and, when the player is enabled, installs its
// hooks, properties and methods into the host.
#pragma once

void initialiseVey();

// The settings domain the preferences pane writes.
inline constexpr const char* kVeyPreferencesDomain = "com.lantern.veypreferences";
