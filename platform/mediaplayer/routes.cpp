// Audio routes and their kinds, and the route label of the media controls.
#include "platform/mediaplayer/mediaplayer.h"

namespace {

MPRouteKind kindOf(const MPAVRoute* route) {
    for (MPRouteKind kind :
         {MPRouteKind::Speaker, MPRouteKind::Headphones, MPRouteKind::AirPods,
          MPRouteKind::AirPodsPro, MPRouteKind::AirPodsMax, MPRouteKind::AirPodsGen3})
        if (MPRouteSubtypeForKind(kind) == route->routeSubtype()) return kind;
    return MPRouteKind::Speaker;
}

NSInteger routeSubtypeIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route ? route->routeSubtype() : 0;
}
id routeNameIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route ? autorelease(NSString::make(route->routeName())) : nullptr;
}
bool isAirpodsRouteIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route && route->isAirpodsRoute();
}
bool isB298RouteIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route && route->isB298Route();
}
bool isB515RouteIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route && route->isB515Route();
}
bool isB688RouteIMP(id self, SEL) {
    auto* route = cast<MPAVRoute>(self);
    return route && route->isB688Route();
}
id initWithOutputDevicesIMP(id self, SEL, id devices) {
    if (auto* route = cast<MPAVOutputDeviceRoute>(self))
        route->initWithOutputDevices(cast<NSArray>(devices));
    return self;
}

void routeLabelSetFrameIMP(id self, SEL, CGRect frame) {
    if (auto* label = cast<MPRouteLabel>(self)) label->setFrameImpl(frame);
}
NSInteger routeLabelContextIMP(id self, SEL) {
    auto* label = cast<MPRouteLabel>(self);
    return label ? label->context() : 0;
}

} // namespace

VEY_CLASS_IMPL(MPAVRoute, NSObject::cls(), [](Class k) {
    rt_addMethod(k, "routeSubtype", &routeSubtypeIMP);
    rt_addMethod(k, "routeName", &routeNameIMP);
    rt_addMethod(k, "isAirpodsRoute", &isAirpodsRouteIMP);
    rt_addMethod(k, "isB298Route", &isB298RouteIMP);
    rt_addMethod(k, "isB515Route", &isB515RouteIMP);
    rt_addMethod(k, "isB688Route", &isB688RouteIMP);
})

// Every AirPods model is an AirPods route; the B-numbers name one model each (B298 the Pro,
// B515 the Max, B688 the third generation).
bool MPAVRoute::isAirpodsRoute() const {
    MPRouteKind kind = kindOf(this);
    return kind == MPRouteKind::AirPods || kind == MPRouteKind::AirPodsPro ||
           kind == MPRouteKind::AirPodsMax || kind == MPRouteKind::AirPodsGen3;
}
bool MPAVRoute::isB298Route() const {
    return kindOf(this) == MPRouteKind::AirPodsPro;
}
bool MPAVRoute::isB515Route() const {
    return kindOf(this) == MPRouteKind::AirPodsMax;
}
bool MPAVRoute::isB688Route() const {
    return kindOf(this) == MPRouteKind::AirPodsGen3;
}

VEY_CLASS_IMPL(MPAVOutputDeviceRoute, MPAVRoute::cls(), [](Class k) {
    rt_addMethod(k, "initWithOutputDevices:", &initWithOutputDevicesIMP);
})

void MPAVOutputDeviceRoute::initWithOutputDevices(NSArray* devices) {
    devices_ = devices;
    auto* first = devices ? cast<MRAVConcreteOutputDevice>(devices->objectAtIndex(0)) : nullptr;
    AVOutputDevice* device = first ? first->avOutputDevice() : nullptr;
    if (device)
        setRoute(device->deviceSubtype(), device->name());
    else
        setRoute(0, "");
}

VEY_CLASS_IMPL(MPRouteLabel, UILabel::cls(), [](Class k) {
    rt_addMethod(k, "setFrame:", &routeLabelSetFrameIMP);
    rt_addMethod(k, "_context", &routeLabelContextIMP);
    class_addIvar(k, "_context", [](id self) -> id {
        auto* label = cast<MPRouteLabel>(self);
        return label ? autorelease(NSNumber::withInteger(label->context())) : nullptr;
    });
})
