// A cover sheet of the host, with the plug-in installed from a settings domain of the test's
// own, and the player's actions replaced by recorders.
#pragma once

#include "entry/install.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/preferences/preferences.h"
#include "platform/springboard/springboard.h"
#include "platform/uikit/uikit.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace playertest {

// What reached the cover sheet's added methods, in order; `flag` is the method's bool argument.
struct Call {
    id receiver;
    std::string selector;
    bool flag = false;
};
inline std::vector<Call>& calls() {
    static std::vector<Call> list;
    return list;
}
inline std::vector<std::string> selectors() {
    std::vector<std::string> out;
    for (const Call& c : calls())
        out.push_back(c.selector);
    return out;
}
inline void recordAction(id self, SEL cmd) {
    calls().push_back({self, sel_getName(cmd)});
}
inline void recordFlag(id self, SEL cmd, bool flag) {
    calls().push_back({self, sel_getName(cmd), flag});
}
inline void recordStyle(id self, SEL cmd, id, bool generate) {
    recordFlag(self, cmd, generate);
}

class PlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/vey-player-XXXXXX";
        root_ = mkdtemp(tmpl);
        NSSetDeviceRoot(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    // Writes "Enabled" YES with `values`, installs the plug-in into the host's classes and
    // replaces the actions and the style step with recorders. With `switching` the player's
    // own layout switches stay and the calls they make into other parts are recorded instead.
    void install(std::vector<std::pair<std::string, PreferenceValue>> values = {},
                 bool switching = false) {
        values.insert(values.begin(), {"Enabled", true});
        std::string error;
        ASSERT_TRUE(HBWritePreferences(kVeyPreferencesDomain, values, PlistFormat::XML, &error))
            << error;
        SBRegisterHostClasses();
        Class sheet = CSCoverSheetView::cls();
        initialiseVey();
        ASSERT_TRUE(enabled);
        IMP unused = nullptr;
        std::vector<const char*> actions = {"pausePlaySong", "rewindSong", "skipSong",
                                            "openRoutingOptions"};
        if (switching)
            actions.push_back("hidePlayer");
        else
            actions.insert(actions.end(), {"hideVeyView", "minimizeMiniPlayer"});
        for (const char* action : actions)
            MSHookMessageEx(sheet, sel(action), reinterpret_cast<IMP>(&recordAction), &unused);
        if (switching)
            MSHookMessageEx(sheet, sel("hideNotifications:"), reinterpret_cast<IMP>(&recordFlag),
                            &unused);
        MSHookMessageEx(sheet, sel("processStyle:shouldGenerate:"),
                        reinterpret_cast<IMP>(&recordStyle), &unused);
    }

    // A cover sheet made by the host (initWithFrame: through the runtime), not yet in a window.
    Ref<UIView> makeSheet() { return UIView::make<CSCoverSheetView>(CGRectMake(0, 0, 390, 844)); }

    // Moves `sheet` into a new window, kept until the test ends, and lays the tree out.
    UIWindow* show(UIView* sheet) {
        windows_.push_back(UIView::make<UIWindow>(sheet->bounds()));
        windows_.back()->addSubview(sheet);
        windows_.back()->layoutIfNeeded();
        return windows_.back();
    }
    Ref<UIView> shownSheet() {
        Ref<UIView> sheet = makeSheet();
        show(sheet);
        return sheet;
    }

    template <class T = UIView, class P>
    static T* part(UIView* sheet, AttachedProperty<P> property) {
        return cast<T>(attached(sheet, property));
    }
    // A player view's frame in the cover sheet's coordinates.
    static CGRect inSheet(UIView* sheet, AttachedProperty<UIView> property) {
        UIView* view = part(sheet, property);
        return view && view->superview()
                   ? view->superview()->convertRectToView(view->frame(), sheet)
                   : CGRectZero;
    }

  private:
    std::string root_;
    std::vector<Ref<UIWindow>> windows_;
};

inline bool sameColor(UIColor* color, double r, double g, double b, double a) {
    return color && color->rgba() == CGColor{r, g, b, a};
}

} // namespace playertest
