#include "entry/hooks.h"

#define VEY_DEFINE_SLOT(name) IMP orig_##name = nullptr;
VEY_HOOK_SLOTS(VEY_DEFINE_SLOT)
#undef VEY_DEFINE_SLOT
