// CGRectInset as CoreGraphics has it: standardised first, out for negative insets, null when the
// inset leaves a negative size.
#include "platform/graphics/geometry.h"

#include <gtest/gtest.h>

TEST(CGRectInset, MovesEachSideInOrGivesNull) {
    struct Case {
        CGRect rect;
        CGFloat dx, dy;
        CGRect expected;
    } cases[] = {
        {{{0, 0}, {100, 50}}, 6.5, 6.5, {{6.5, 6.5}, {87, 37}}},
        {{{10, 10}, {20, 20}}, -5, 0, {{5, 10}, {30, 20}}},
        {{{100, 50}, {-100, -50}}, 10, 10, {{10, 10}, {80, 30}}},
        {{{0, 0}, {100, 50}}, 25, 25, {{25, 25}, {50, 0}}}, // empty, not null
        {{{0, 0}, {100, 50}}, 30, 30, CGRectNull},
        {{{0, 0}, {10, 100}}, 6, 0, CGRectNull},
    };
    for (const Case& c : cases) {
        CGRect r = CGRectInset(c.rect, c.dx, c.dy);
        if (CGRectIsNull(c.expected)) {
            EXPECT_TRUE(CGRectIsNull(r)) << c.dx;
        } else {
            EXPECT_EQ(r, c.expected) << c.dx;
        }
    }
    EXPECT_FALSE(CGRectIsNull(CGRectZero));
}
