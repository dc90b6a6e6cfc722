// The graphics component's public header: images, codecs, bitmap contexts and drawing, paths,
// filters.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/codec.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/image.h"
