// MediaPlayer and the output-device side of MediaRemote: audio routes and their kinds, the
// system audio context and its output device, the lock screen's route label, and bundles with
// their images (the battery glyphs that name headphone models).
//
// What crosses the runtime: +[MRAVOutputContext sharedSystemAudioContext], avOutputContext,
// outputDevice, "_outputDeviceSourceInfo" (by key), initWithAVOutputDevice:sourceInfo:,
// initWithOutputDevices:, routeSubtype ("q@:"), the four route tests ("B@:"), routeName,
// -[MPRouteLabel setFrame:], +[NSBundle bundleWithIdentifier:] and
// +[UIImage imageNamed:inBundle:].
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/image.h"
#include "platform/uikit/uikit.h"

#include <string>
#include <string_view>

// ---------------------------------------------------------------------------------------------
// Output devices and the system audio context

// The kinds of output the host knows. The subtype numbers are the host's own: wired and
// Bluetooth headphones use 14 and up, the built-in outputs and AirPods models 13 and below.
enum class MPRouteKind { Speaker, Headphones, AirPods, AirPodsPro, AirPodsMax, AirPodsGen3 };
NSInteger MPRouteSubtypeForKind(MPRouteKind kind);
// The name the host shows for an output of this kind: the device's name for the speaker,
// "Headphones", "AirPods Pro" ...
std::string MPRouteNameForKind(MPRouteKind kind);
// Parses a scenario-style name: speaker, headphones, airpods, airpods-pro, airpods-max,
// airpods-gen3. Returns false for anything else.
bool MPRouteKindFromString(std::string_view text, MPRouteKind* kind);

// An audio output (AVFoundation's output device).
class AVOutputDevice : public NSObject {
    VEY_CLASS(AVOutputDevice)
  public:
    static Ref<AVOutputDevice> make(MPRouteKind kind, std::string name);
    MPRouteKind kind() const { return kind_; }
    NSInteger deviceSubtype() const { return MPRouteSubtypeForKind(kind_); }
    const std::string& name() const { return name_; }

  private:
    MPRouteKind kind_ = MPRouteKind::Speaker;
    std::string name_;
};

// The output context of the system's audio: the device that plays now.
class AVOutputContext : public NSObject {
    VEY_CLASS(AVOutputContext)
  public:
    AVOutputDevice* outputDevice() const { return device_; }
    void setOutputDevice(AVOutputDevice* device) { device_ = device; }

  private:
    Ref<AVOutputDevice> device_;
};

// MediaRemote's view of the system audio context (+sharedSystemAudioContext). Its instance
// variable "_outputDeviceSourceInfo" is readable by key.
class MRAVOutputContext : public NSObject {
    VEY_CLASS(MRAVOutputContext)
  public:
    // The shared context; nil until the host has an audio system (MPSetSystemAudioRoute).
    static MRAVOutputContext* sharedSystemAudioContext();
    AVOutputContext* avOutputContext() const { return avContext_; }
    NSDictionary* outputDeviceSourceInfo() const { return sourceInfo_; }

  private:
    friend void MPSetSystemAudioRoute(MPRouteKind kind);
    Ref<AVOutputContext> avContext_;
    Ref<NSDictionary> sourceInfo_;
};

// An output device as MediaRemote describes it (initWithAVOutputDevice:sourceInfo:).
class MRAVConcreteOutputDevice : public NSObject {
    VEY_CLASS(MRAVConcreteOutputDevice)
  public:
    AVOutputDevice* avOutputDevice() const { return device_; }
    NSDictionary* sourceInfo() const { return sourceInfo_; }
    void initWithAVOutputDevice(AVOutputDevice* device, NSDictionary* sourceInfo);

  private:
    Ref<AVOutputDevice> device_;
    Ref<NSDictionary> sourceInfo_;
};

// Makes the system audio play through an output of `kind` (creating the shared context on
// first use). The host then reframes the route labels (SBMediaController does that).
void MPSetSystemAudioRoute(MPRouteKind kind);
// The kind playing now (the speaker before any route was set).
MPRouteKind MPCurrentSystemAudioRouteKind();
// Drops the shared context: sharedSystemAudioContext answers nil afterwards (tests).
void MPRemoveSystemAudioContext();

// ---------------------------------------------------------------------------------------------
// Routes

class MPAVRoute : public NSObject {
    VEY_CLASS(MPAVRoute)
  public:
    NSInteger routeSubtype() const { return subtype_; }
    const std::string& routeName() const { return name_; }
    // The host's own answers (the runtime methods isAirpodsRoute ... call these).
    bool isAirpodsRoute() const;
    bool isB298Route() const;
    bool isB515Route() const;
    bool isB688Route() const;
    void setRoute(NSInteger subtype, std::string name) {
        subtype_ = subtype;
        name_ = std::move(name);
    }

  private:
    NSInteger subtype_ = 0;
    std::string name_;
};

// A route over output devices (initWithOutputDevices: with an array of
// MRAVConcreteOutputDevice); it takes its kind and name from the first device.
class MPAVOutputDeviceRoute : public MPAVRoute {
    VEY_CLASS(MPAVOutputDeviceRoute)
  public:
    void initWithOutputDevices(NSArray* devices);

  private:
    Ref<NSArray> devices_;
};

// The route label of the media controls: the current output's name. Its frame is set with
// setFrame: through the runtime whenever the route changes.
class MPRouteLabel : public UILabel {
    VEY_CLASS(MPRouteLabel)
  public:
    // Context of the controls it belongs to (0 or 1 Control Center, 2 lock screen); answered
    // by the runtime method _context ("q@:") and readable by key as "_context".
    NSInteger context() const { return context_; }
    void setContext(NSInteger context) { context_ = context; }

  private:
    NSInteger context_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Bundles

// A bundle is a folder of resources known by identifier. The host registers the bundles it
// has; bundleWithIdentifier: answers nil for any other identifier.
class NSBundle : public NSObject {
    VEY_CLASS(NSBundle)
  public:
    static NSBundle* bundleWithIdentifier(std::string_view identifier);
    // Registers the folder `path` as the bundle `identifier` (replacing an earlier one).
    static void registerBundle(std::string identifier, std::string path);
    const std::string& bundleIdentifier() const { return identifier_; }
    const std::string& bundlePath() const { return path_; }

  private:
    std::string identifier_;
    std::string path_;
};

// The glyph bundles of the battery widgets, whose images name headphone models.
constexpr std::string_view kBatteryCenterUIBundleIdentifier = "com.apple.BatteryCenterUI";
constexpr std::string_view kBatteryCenterBundleIdentifier = "com.apple.BatteryCenter";
// Where the host looks for them under the device root.
std::string MPGlyphBundlePath(std::string_view identifier);
// Registers each glyph bundle whose folder exists under the device root.
void MPRegisterDeviceBundles();

// +[UIImage imageNamed:inBundle:]: "<name>.png" (or "<name>@<scale>x.png") in the bundle's
// folder. Nil for a nil bundle, a name that is empty or has a path separator, or a file that
// does not decode. Also registered as a runtime class method of UIImage.
Ref<UIImage> UIImageNamedInBundle(std::string_view name, const NSBundle* bundle);

// Registers the classes of this component by name.
void MPRegisterHostClasses();
