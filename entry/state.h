// The plug-in's module-level state: every setting, flag, counter, saved host reference and
// shared image, under the names all subsystems use. There is no player object.
#pragma once

#include "platform/foundation/foundation.h"

#include <cstdint>
#include <string>

class HBPreferences;
class UIImage;
class UIView;
class UIImageView;
class UIStackView;

// The settings, in the order they are bound to the domain: type, variable, initial value.
// Numbers are kept as text and read at each use.
#define VEY_SETTINGS(X)                                                                            \
    X(bool, enabled, NO)                                                                           \
    X(std::string, styleValue, "colorFlow")                                                        \
    X(bool, backgroundArtworkSwitch, YES)                                                          \
    X(bool, borderEnabled, NO)                                                                     \
    X(bool, borderFrameEnabled, YES)                                                               \
    X(bool, addBlurSwitch, YES)                                                                    \
    X(bool, backgroundBlurEffect, YES)                                                             \
    X(std::string, blurModeValue, "1")                                                             \
    X(std::string, blurRadius, "10")                                                               \
    X(std::string, maxOffsetValue, "25")                                                           \
    X(std::string, minOffsetValue, "25")                                                           \
    X(std::string, artworkOffsetValue, "0")                                                        \
    /* the one setting whose initial value differs from its registered default ("250") */          \
    X(std::string, newArtworkSize, "300")                                                          \
    X(std::string, glassWidth, "13")                                                               \
    X(std::string, newCornerRadius, "20")                                                          \
    X(std::string, dismissTimeout, "15")                                                           \
    X(bool, showDeviceNameSwitch, NO)                                                              \
    X(bool, miniBackgroundSwitch, YES)                                                             \
    X(bool, maxiBackgroundSwitch, YES)                                                             \
    X(bool, timelineNumbers, YES)                                                                  \
    X(bool, hideNotificationTweaks, YES)                                                           \
    X(bool, enableGlitch, NO)

// The state the subsystems share.
#define VEY_SHARED_STATE(X)                                                                        \
    X(Ref<HBPreferences>, preferences, nullptr)                                                    \
    X(Ref<UIView>, coversheetView, nullptr)                                                        \
    X(bool, isPlayingMusic, YES)                                                                   \
    X(bool, defaultAirplay, YES)                                                                   \
    X(std::string, coverName, "n/a")                                                               \
    X(std::string, artistName, "n/a")                                                              \
    X(Ref<UIImage>, highresImage, nullptr)                                                         \
    X(Ref<UIImage>, blurredImage, nullptr)                                                         \
    X(Ref<NSArray>, bestColors, nullptr)                                                           \
    X(bool, forcedTheme, NO)                                                                       \
    X(bool, minimized, NO)                                                                         \
    X(bool, hidden, NO)                                                                            \
    X(bool, dismissed, NO)                                                                         \
    X(std::int64_t, request, 0)                                                                    \
    X(int, prevAction, 0)                                                                          \
    X(bool, animating, NO)                                                                         \
    X(bool, skippedTrack, NO)                                                                      \
    X(bool, shouldGlitch, YES)                                                                     \
    X(int, glitchNo, 0)                                                                            \
    X(int, prevNotification, -1)                                                                   \
    X(int, timeRequest, 0)                                                                         \
    X(bool, timeAnimation, NO)                                                                     \
    X(double, yPosition, 0)                                                                        \
    X(Ref<UIView>, timeSlider, nullptr)                                                            \
    X(Ref<UIView>, newTimeSlider, nullptr)                                                         \
    X(Ref<UIView>, notificationsViewList, nullptr)                                                 \
    X(Ref<UIView>, notificationView, nullptr)                                                      \
    X(Ref<UIStackView>, defaultPlayerViewParent, nullptr)                                          \
    X(Ref<UIView>, originalPlayerView, nullptr)                                                    \
    X(Ref<UIView>, playingHeader, nullptr)                                                         \
    X(Ref<UIImageView>, nowPlayingImage, nullptr)                                                  \
    X(Ref<UIView>, nowPlayingRoutingButton, nullptr)                                               \
    X(Ref<UIImage>, playerImage, nullptr)

// C linkage keeps the exported names exactly as written (no C++ mangling).
#define VEY_DECLARE_VARIABLE(type, name, initial) extern "C" type name;
VEY_SETTINGS(VEY_DECLARE_VARIABLE)
VEY_SHARED_STATE(VEY_DECLARE_VARIABLE)
#undef VEY_DECLARE_VARIABLE

// Exported version test: the device's major system version is at least `major`.
extern "C" bool isIOSVersionAtLeast(std::int64_t major);

// Every variable back to its initial value (tests).
void resetVeyState();
