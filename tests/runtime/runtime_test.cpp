#include "platform/foundation/foundation.h"

#include <gtest/gtest.h>

TEST(Runtime, Smoke) {
    EXPECT_TRUE(NSObject::cls());
}
