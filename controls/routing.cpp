// The audio route: the route button's icon, headphone routes and the route picker.
#include "controls/media_context.h"
#include "controls/press.h"
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/uikit/uikit.h"

#include <string>

namespace {

std::string classNameOf(id object) {
    return NSStringFromClassName(object_getClass(object));
}

id string(std::string_view text) {
    return autorelease(NSString::make(text));
}

// Children of the host's header that the player needs: the routing button and the playing
// app's icon (the third plain image view inside the artwork views).
void recordHeaderChildren(UIView* header) {
    int imageViews = 0;
    for (const Ref<UIView>& child : std::vector<Ref<UIView>>(header->subviews())) {
        std::string name = classNameOf(child);
        if (name == "MRUNowPlayingRoutingButton") {
            nowPlayingRoutingButton = child;
        } else if (name == "MRUTransportButton") {
            for (const Ref<UIView>& inner : child->subviews())
                if (classNameOf(inner) == "routingButton") nowPlayingRoutingButton = inner;
        } else if (name == "MRUArtworkView") {
            for (const Ref<UIView>& inner : child->subviews()) {
                if (classNameOf(inner) != "UIImageView") continue;
                if (imageViews++ != 2) continue;
                nowPlayingImage = cast<UIImageView>(inner.get());
                if (UIImageView* icon = attached(coversheetView, prop::nowPlayingAppIcon))
                    icon->setImage(nowPlayingImage ? nowPlayingImage->image() : nullptr);
            }
        }
    }
}

// Route kinds, most specific first: the first row whose test holds picks the icon.
struct RouteRow {
    const char* test;
    const char* glyphs[2]; // in order; unused places nil
    const char* symbol;
};
const RouteRow kRouteRows[] = {
    {"isB688Route", {"B688"}, "airpods.gen3"},
    {"isB515Route", {"batteryglyphs-b515"}, "airpodsmax"},
    {"isB298Route",
     {"batteryglyphs-b298-left-right", "batteryglyphs-airpodspro-left-right"},
     "airpodspro"},
    {"isAirpodsRoute", {"batteryglyphs-airpods-left-right"}, "airpods"},
};

id glyphBundle() {
    id bundleClass = objc_getClass("NSBundle");
    id bundle = send<id>(bundleClass, "bundleWithIdentifier:", string("com.apple.BatteryCenterUI"));
    if (!bundle)
        bundle = send<id>(bundleClass, "bundleWithIdentifier:", string("com.apple.BatteryCenter"));
    return bundle;
}

// The icon of the first applying row; nil when no row applies or its images are all missing.
Ref<UIImage> routeIcon(id route, id bundle) {
    for (const RouteRow& row : kRouteRows) {
        if (!respondsToSelector(route, sel(row.test)) || !send<bool>(route, row.test)) continue;
        for (const char* glyph : row.glyphs) {
            if (!glyph) break;
            if (auto* image = cast<UIImage>(
                    send<id>(UIImage::cls(), "imageNamed:inBundle:", string(glyph), bundle)))
                return image;
        }
        return UIImage::systemImageNamed(row.symbol);
    }
    return nullptr;
}

void showRouteIcon(UIImage* found) {
    UIImageView* icon = attached(coversheetView, prop::airplayIcon);
    Ref<UIImage> image = found;
    if (icon) icon->setTransform(CGAffineTransformIdentity);
    if (image) {
        defaultAirplay = NO;
        if (icon) icon->setTransform(CGAffineTransformMakeScale(0.75, 0.55));
    } else {
        // The generic symbol is drawn narrower than a device glyph.
        image = UIImage::systemImageNamed("airplayaudio");
        if (icon) icon->setTransform(CGAffineTransformMakeScale(0.575, 0.55));
        defaultAirplay = YES;
    }
    playerImage = image;
    if (icon)
        icon->setImage(image ? image->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate)
                             : nullptr);
}

} // namespace

void MRUNowPlayingHeaderView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MRUNowPlayingHeaderView_layoutSubviews, self, _cmd);
    playingHeader = cast<UIView>(self);
    send(self, "findNeededStuff");
}

void MRUNowPlayingHeaderView_findNeededStuff(id self, SEL) {
    auto* header = cast<UIView>(self);
    if (!header) return;
    id controller = send<id>(self, "_viewControllerForAncestor");
    std::optional<id> delegate = mediaControlsDelegate(controller);
    // The Control Center's player is left alone.
    if (!delegate || isKindOfClass(*delegate, controlCenterControllerClass())) return;
    std::optional<NSInteger> context = mediaControlsContext(self, controller);
    if (!context || *context < kLockScreenContext) return;
    recordHeaderChildren(header);
}

void MPRouteLabel_setFrame(id self, SEL _cmd, CGRect frame) {
    id controller = send<id>(self, "_viewControllerForAncestor");
    std::optional<NSInteger> context;
    if (respondsToSelector(controller, sel("context")))
        context = send<NSInteger>(controller, "context");
    else if (respondsToSelector(self, sel("_context")))
        context = send<NSInteger>(self, "_context");
    if (context != kLockScreenContext) {
        callIMP(orig_MPRouteLabel_setFrame, self, _cmd, frame);
        return;
    }
    if (UILabel* source = attached(coversheetView, prop::veySourceLabel))
        source->setText(cast<NSString>(send<id>(self, "text")));
    playerImage = nullptr;
    id route = send<id>(objc_getClass("MPAVOutputDeviceRoute"), "systemAudioRoute");
    showRouteIcon(routeIcon(route, glyphBundle()));
    // The host's label keeps its old frame: the player shows the route instead.
}

bool MPAVRoute_isHeadphonesRoute(id self, SEL) {
    return send<NSInteger>(self, "routeSubtype") > 13;
}

bool MPAVRoute_isAirpodsRoute(id self, SEL _cmd) {
    if (send<bool>(self, "isHeadphonesRoute")) return YES;
    return callIMP<bool>(orig_MPAVRoute_isAirpodsRoute, self, _cmd);
}

bool MPAVRoute_isB298Route(id self, SEL _cmd) {
    if (send<bool>(self, "isHeadphonesRoute")) return YES;
    return callIMP<bool>(orig_MPAVRoute_isB298Route, self, _cmd);
}

bool MPAVRoute_isB515Route(id self, SEL _cmd) {
    if (send<bool>(self, "isHeadphonesRoute")) return YES;
    return callIMP<bool>(orig_MPAVRoute_isB515Route, self, _cmd);
}

bool MPAVRoute_isB688Route(id self, SEL _cmd) {
    if (send<bool>(self, "isHeadphonesRoute")) return YES;
    return callIMP<bool>(orig_MPAVRoute_isB688Route, self, _cmd);
}

id MPAVOutputDeviceRoute_systemAudioRoute(id, SEL) {
    id context = send<id>(objc_getClass("MRAVOutputContext"), "sharedSystemAudioContext");
    id output = send<id>(send<id>(context, "avOutputContext"), "outputDevice");
    if (!output) return nullptr;
    id sourceInfo = send<id>(context, "valueForKey:", string("_outputDeviceSourceInfo"));
    Ref<NSObject> device =
        Ref<NSObject>::adopt(class_createInstance(objc_getClass("MRAVConcreteOutputDevice")));
    send<id>(device.get(), "initWithAVOutputDevice:sourceInfo:", output, sourceInfo);
    Ref<NSObject> route =
        Ref<NSObject>::adopt(class_createInstance(objc_getClass("MPAVOutputDeviceRoute")));
    Ref<NSArray> devices = NSArray::make({device});
    send<id>(route.get(), "initWithOutputDevices:", devices);
    return autorelease(route);
}

void CSCoverSheetView_openRoutingOptions(id self, SEL) {
    animatePress(self, prop::veyAirplayButton, 0);
    // At once, not after the animation: the host presents its own output picker.
    if (auto* button = cast<UIControl>(nowPlayingRoutingButton.get()))
        button->sendActionsForControlEvents(UIControlEventTouchUpInside);
}
