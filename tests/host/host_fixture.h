// A device root of its own for each test, and a way to count the calls the host makes to a
// hookable selector (through a hook that calls the host's implementation first, as the
// plug-in's do).
#pragma once

#include "platform/springboard/springboard.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class TempDevice {
  public:
    TempDevice() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vey-host-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        root_ = mkdtemp(buffer.data());
        NSSetDeviceRoot(root_);
    }
    ~TempDevice() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

// Calls recorded by counting hooks, in order, as "Class selector".
inline std::vector<std::string>& hostCalls() {
    static std::vector<std::string> calls;
    return calls;
}
inline int callCount(const std::string& entry) {
    int n = 0;
    for (auto& c : hostCalls())
        n += c == entry;
    return n;
}
inline std::size_t firstCall(const std::string& entry) {
    for (std::size_t i = 0; i < hostCalls().size(); i++)
        if (hostCalls()[i] == entry) return i;
    return std::size_t(-1);
}

// One slot per (class, selector) of the counting hooks, which are made per signature.
template <int N> struct CountingHook {
    static inline IMP original = nullptr;
    static inline std::string name;
    static void v(id self, SEL cmd) {
        hostCalls().push_back(name);
        callIMP(original, self, cmd);
    }
    static void vObject(id self, SEL cmd, id arg) {
        hostCalls().push_back(name);
        callIMP(original, self, cmd, arg);
    }
    static id objectRect(id self, SEL cmd, CGRect r) {
        hostCalls().push_back(name);
        return callIMP<id>(original, self, cmd, r);
    }
    static void vRect(id self, SEL cmd, CGRect r) {
        hostCalls().push_back(name);
        callIMP(original, self, cmd, r);
    }
    template <class F> static void install(const char* cls, const char* selector, F fn) {
        name = std::string(cls) + " " + selector;
        MSHookMessageEx(objc_getClass(cls), sel(selector), reinterpret_cast<IMP>(fn), &original);
    }
};

// Hooks every selector of the plug-in's hook table with a counting hook.
inline void installCountingHooks() {
    CountingHook<1>::install("CSActivityItemContentView", "layoutSubviews", &CountingHook<1>::v);
    CountingHook<2>::install("CSMainPageView", "layoutSubviews", &CountingHook<2>::v);
    CountingHook<3>::install("CSCoverSheetView", "initWithFrame:", &CountingHook<3>::objectRect);
    CountingHook<4>::install("CSCoverSheetView", "didMoveToWindow", &CountingHook<4>::v);
    CountingHook<5>::install("CSCoverSheetView", "layoutSubviews", &CountingHook<5>::v);
    CountingHook<6>::install("MediaControlsTimeControl", "layoutSubviews", &CountingHook<6>::v);
    CountingHook<7>::install("MRUNowPlayingHeaderView", "layoutSubviews", &CountingHook<7>::v);
    CountingHook<8>::install("MRUNowPlayingTimeControlsView", "layoutSubviews",
                             &CountingHook<8>::v);
    CountingHook<9>::install("MRUNowPlayingTimeControlsView", "setFrame:", &CountingHook<9>::vRect);
    CountingHook<10>::install("CSAdjunctItemView", "_updateSizeToMimic", &CountingHook<10>::v);
    CountingHook<11>::install("CSAdjunctListView", "layoutSubviews", &CountingHook<11>::v);
    CountingHook<12>::install("MPRouteLabel", "setFrame:", &CountingHook<12>::vRect);
    CountingHook<13>::install("CSNotificationAdjunctListViewController", "viewDidLoad",
                              &CountingHook<13>::v);
    CountingHook<14>::install("SBMediaController",
                              "setNowPlayingInfo:", &CountingHook<14>::vObject);
    CountingHook<15>::install(
        "SBMediaController",
        "_mediaRemoteNowPlayingApplicationIsPlayingDidChange:", &CountingHook<15>::vObject);
    CountingHook<16>::install("MRUArtworkView", "setArtworkImage:", &CountingHook<16>::vObject);
    CountingHook<17>::install("SpringBoard",
                              "applicationDidFinishLaunching:", &CountingHook<17>::vObject);
    CountingHook<18>::install("CSTeachableMomentsContainerView", "_layoutCallToActionLabel",
                              &CountingHook<18>::v);
    CountingHook<19>::install("SBUICallToActionLabel", "didMoveToWindow", &CountingHook<19>::v);
    CountingHook<20>::install("SBUICallToActionLabel",
                              "_updateLabelTextWithLanguage:", &CountingHook<20>::vObject);
}
