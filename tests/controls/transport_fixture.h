// The host launched on a 320-point-wide screen with the plug-in enabled and its player built;
// the clock is read and advanced from the launch on.
#pragma once

#include "entry/properties.h"
#include "entry/state.h"
#include "platform/springboard/springboard.h"
#include "tests/common/device.h"

#include <gtest/gtest.h>

namespace transporttest {

class LockScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device.write({{"Enabled", true}});
        UIScreen::mainScreen()->setSize(CGSizeMake(320, 568));
        SBRegisterHostClasses();
        initialiseVey();
        ls = SBLaunch();
        ASSERT_TRUE(ls && attached(ls->coverSheet.get(), prop::veyView));
        run(1);
    }
    static void run(double seconds) { MainQueue::shared().runFor(seconds); }
    UIView* sheet() const { return ls->coverSheet; }

    TestDevice device;
    SBLockScreen* ls = nullptr;
};

} // namespace transporttest
