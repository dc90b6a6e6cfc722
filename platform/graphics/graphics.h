// The graphics component's public header: images and their codecs, bitmap contexts and
// drawing, paths, filters.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/blur.h"
#include "platform/graphics/codec.h"
#include "platform/graphics/context.h"
#include "platform/graphics/filters.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/image.h"
#include "platform/graphics/path.h"
#include "platform/graphics/random.h"
#include "platform/graphics/screen_metrics.h"
