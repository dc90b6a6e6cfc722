// A cover sheet of the host, with the plug-in installed from a settings domain of the test's
// own, and the player's actions replaced by recorders.
#pragma once

#include "common/device.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/uikit.h"

#include <string>
#include <vector>

namespace playertest {

class PlayerTest : public ::testing::Test {
  protected:
    // What reached the cover sheet's added methods, in order, with a bool argument as YES or
    // NO, and who received each.
    static inline std::vector<std::string> calls;
    static inline std::vector<id> receivers;
    static void log(id self, std::string call) {
        receivers.push_back(self);
        calls.push_back(call);
    }
    static void record(id self, SEL cmd) { log(self, sel_getName(cmd)); }
    static void recordFlag(id self, SEL cmd, bool flag) {
        log(self, sel_getName(cmd) + std::string(flag ? " YES" : " NO"));
    }

    // Enables the plug-in, installs it into the host's classes and replaces the actions and the
    // style step with recorders. With `switching` the player's own layout switches stay and the
    // calls they make into other parts are recorded instead.
    void install(bool switching = false) {
        device_.write({{"Enabled", true}});
        SBRegisterHostClasses();
        initialiseVey();
        ASSERT_TRUE(enabled);
        IMP unused = nullptr;
        auto hook = [&unused](const char* selector, auto imp) {
            MSHookMessageEx(CSCoverSheetView::cls(), sel(selector), IMP(imp), &unused);
        };
        for (const char* action : {"pausePlaySong", "rewindSong", "skipSong", "openRoutingOptions"})
            hook(action, &record);
        hook(
            "processStyle:shouldGenerate:",
            +[](id self, SEL cmd, id, bool generate) { recordFlag(self, cmd, generate); });
        if (switching) {
            hook("hidePlayer", &record);
            hook("hideNotifications:", &recordFlag);
        } else {
            hook("hideVeyView", &record);
            hook("minimizeMiniPlayer", &record);
        }
    }

    // A cover sheet made by the host (initWithFrame: through the runtime), in a window of its
    // own (kept until the test ends) and laid out when `shown`.
    Ref<UIView> makeSheet(bool shown = true) {
        Ref<UIView> sheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, 390, 844));
        if (shown) show(sheet);
        return sheet;
    }
    void show(UIView* sheet) {
        windows_.push_back(UIView::make<UIWindow>(sheet->bounds()));
        windows_.back()->addSubview(sheet);
        windows_.back()->layoutIfNeeded();
    }
    template <class T = UIView, class P>
    static T* part(UIView* sheet, AttachedProperty<P> property) {
        return cast<T>(attached(sheet, property));
    }

  private:
    TestDevice device_;
    std::vector<Ref<UIWindow>> windows_;
};

inline bool sameColor(UIColor* color, double r, double g, double b, double a) {
    return color && color->rgba() == CGColor{r, g, b, a};
}

} // namespace playertest
