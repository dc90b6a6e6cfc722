// The system audio context and its output device, as MediaRemote and AVFoundation describe
// them.
#include "platform/mediaplayer/mediaplayer.h"

namespace {

struct RouteKindInfo {
    MPRouteKind kind;
    const char* token;
    NSInteger subtype;
    const char* name;
};
constexpr RouteKindInfo kKinds[] = {
    {MPRouteKind::Speaker, "speaker", 1, "iPhone"},
    {MPRouteKind::Headphones, "headphones", 14, "Headphones"},
    {MPRouteKind::AirPods, "airpods", 8, "AirPods"},
    {MPRouteKind::AirPodsPro, "airpods-pro", 9, "AirPods Pro"},
    {MPRouteKind::AirPodsMax, "airpods-max", 10, "AirPods Max"},
    {MPRouteKind::AirPodsGen3, "airpods-gen3", 11, "AirPods (3rd generation)"},
};

const RouteKindInfo& infoFor(MPRouteKind kind) {
    for (auto& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];
}

Ref<MRAVOutputContext>& sharedContext() {
    static auto* context = new Ref<MRAVOutputContext>();
    return *context;
}

MPRouteKind& currentKind() {
    static MPRouteKind kind = MPRouteKind::Speaker;
    return kind;
}

id sharedSystemAudioContextIMP(id, SEL) {
    return MRAVOutputContext::sharedSystemAudioContext();
}
id avOutputContextIMP(id self, SEL) {
    auto* context = cast<MRAVOutputContext>(self);
    return context ? context->avOutputContext() : nullptr;
}
id outputDeviceIMP(id self, SEL) {
    auto* context = cast<AVOutputContext>(self);
    return context ? context->outputDevice() : nullptr;
}
NSInteger deviceSubtypeIMP(id self, SEL) {
    auto* device = cast<AVOutputDevice>(self);
    return device ? device->deviceSubtype() : 0;
}
id initWithAVOutputDeviceIMP(id self, SEL, id device, id sourceInfo) {
    if (auto* concrete = cast<MRAVConcreteOutputDevice>(self))
        concrete->initWithAVOutputDevice(cast<AVOutputDevice>(device),
                                         cast<NSDictionary>(sourceInfo));
    return self;
}

} // namespace

NSInteger MPRouteSubtypeForKind(MPRouteKind kind) {
    return infoFor(kind).subtype;
}

std::string MPRouteNameForKind(MPRouteKind kind) {
    // The phone's own speaker goes by the phone's name.
    if (kind == MPRouteKind::Speaker) {
        NSString* name = UIDevice::currentDevice()->name();
        if (name && !name->str().empty()) return name->str();
    }
    return infoFor(kind).name;
}

bool MPRouteKindFromString(std::string_view text, MPRouteKind* kind) {
    for (auto& k : kKinds) {
        if (text != k.token) continue;
        if (kind) *kind = k.kind;
        return true;
    }
    return false;
}

VEY_CLASS_IMPL(AVOutputDevice, NSObject::cls(),
               [](Class k) { rt_addMethod(k, "deviceSubtype", &deviceSubtypeIMP); })

Ref<AVOutputDevice> AVOutputDevice::make(MPRouteKind kind, std::string name) {
    Ref<AVOutputDevice> device = alloc<AVOutputDevice>();
    device->kind_ = kind;
    device->name_ = std::move(name);
    return device;
}

VEY_CLASS_IMPL(AVOutputContext, NSObject::cls(),
               [](Class k) { rt_addMethod(k, "outputDevice", &outputDeviceIMP); })

VEY_CLASS_IMPL(MRAVOutputContext, NSObject::cls(), [](Class k) {
    rt_addMethod(k->isa, "sharedSystemAudioContext", &sharedSystemAudioContextIMP);
    rt_addMethod(k, "avOutputContext", &avOutputContextIMP);
    class_addIvar(k, "_outputDeviceSourceInfo", [](id self) -> id {
        auto* context = cast<MRAVOutputContext>(self);
        return context ? context->outputDeviceSourceInfo() : nullptr;
    });
})

MRAVOutputContext* MRAVOutputContext::sharedSystemAudioContext() {
    return sharedContext();
}

VEY_CLASS_IMPL(MRAVConcreteOutputDevice, NSObject::cls(), [](Class k) {
    rt_addMethod(k, "initWithAVOutputDevice:sourceInfo:", &initWithAVOutputDeviceIMP);
})

void MRAVConcreteOutputDevice::initWithAVOutputDevice(AVOutputDevice* device,
                                                      NSDictionary* sourceInfo) {
    device_ = device;
    sourceInfo_ = sourceInfo;
}

void MPSetSystemAudioRoute(MPRouteKind kind) {
    Ref<MRAVOutputContext>& context = sharedContext();
    if (!context) {
        context = alloc<MRAVOutputContext>();
        context->avContext_ = alloc<AVOutputContext>();
        context->sourceInfo_ = NSDictionary::make();
        context->sourceInfo_->setObject(NSString::make("system"), "sourceType");
    }
    currentKind() = kind;
    context->avContext_->setOutputDevice(AVOutputDevice::make(kind, MPRouteNameForKind(kind)));
}

MPRouteKind MPCurrentSystemAudioRouteKind() {
    return currentKind();
}

void MPRemoveSystemAudioContext() {
    sharedContext() = nullptr;
}
