// The player's views as the cover sheet carries them: the properties the plug-in added to
// the cover sheet's class that hold views, found from the runtime rather than by name.
#pragma once

#include <string>
#include <vector>

class UIView;

namespace sim {

// In the order the plug-in added them; empty while no plug-in has added any.
std::vector<std::string> attachedViewProperties();

// The value of one of those properties on `coverSheet`, nil when it is unset or not a view.
UIView* attachedView(UIView* coverSheet, const std::string& name);

} // namespace sim
