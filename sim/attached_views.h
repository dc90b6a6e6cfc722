// The player's views as the cover sheet carries them: the properties the plug-in added to
// the cover sheet's class that hold views, found from the runtime rather than by name.
#pragma once

#include <string>
#include <vector>

class UIView;

namespace sim {

// In the order the plug-in added them; empty while no plug-in has added any.
std::vector<std::string> attachedViewProperties();

// The player's root: the first view the plug-in attached, which holds all the others and takes
// the player's swipes. Empty while none is attached.
std::string attachedRootProperty();

// The value of one of those properties on `coverSheet`, nil when it is unset or not a view.
UIView* attachedView(UIView* coverSheet, const std::string& name);

} // namespace sim
