// The _context accessors that every view of a set of media controls answers.
#pragma once

#include "platform/runtime/runtime.h"

// Adds the runtime method _context ("q@:") and the key "_context" (an NSNumber) to a class of
// media-controls views.
void MRUAddContextAccessors(Class cls);
