// UIKit and QuartzCore stand-ins: views and layers, layout, animations, controls, labels, image
// views, effect views, stack views, gesture recognisers, controllers, windows, fonts, colours,
// device and screen. The one header the plug-in includes for them.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/graphics/image.h"
#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/constraint.h"
#include "platform/uikit/control.h"
#include "platform/uikit/controller.h"
#include "platform/uikit/device.h"
#include "platform/uikit/effect.h"
#include "platform/uikit/font.h"
#include "platform/uikit/gesture.h"
#include "platform/uikit/imageview.h"
#include "platform/uikit/label.h"
#include "platform/uikit/layer.h"
#include "platform/uikit/layout.h"
#include "platform/uikit/stackview.h"
#include "platform/uikit/view.h"
#include "platform/uikit/weak.h"
#include "platform/uikit/window.h"
