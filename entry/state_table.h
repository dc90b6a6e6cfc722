// The plug-in's module-level variables as one list each: the settings with their keys and
// defaults, and the shared state. The plug-in defines, binds and resets them from these lists,
// and the simulator reads them by name from the same lists.
#pragma once

// The settings, in the order they are bound to the domain: type, variable, initial value, key,
// default. Numbers are kept as text and read at each use.
#define VEY_SETTINGS(X)                                                                            \
    X(bool, enabled, NO, "Enabled", NO)                                                            \
    X(std::string, styleValue, "colorFlow", "style", "colorFlow")                                  \
    X(bool, backgroundArtworkSwitch, YES, "backgroundArtwork", YES)                                \
    X(bool, borderEnabled, NO, "addBorder", NO)                                                    \
    X(bool, borderFrameEnabled, YES, "addBorderFrame", YES)                                        \
    X(bool, addBlurSwitch, YES, "addBlur", YES)                                                    \
    X(bool, backgroundBlurEffect, YES, "backgroundBlurEffect", YES)                                \
    X(std::string, blurModeValue, "1", "blurMode", "1")                                            \
    X(std::string, blurRadius, "10", "blurRadius", "10")                                           \
    X(std::string, maxOffsetValue, "25", "newOffset1", "25")                                       \
    X(std::string, minOffsetValue, "25", "newOffset2", "25")                                       \
    X(std::string, artworkOffsetValue, "0", "artworkOffset", "0")                                  \
    /* the one setting whose initial value differs from its registered default ("250") */          \
    X(std::string, newArtworkSize, "300", "artworkSize", "250")                                    \
    X(std::string, glassWidth, "13", "glassWidth", "13")                                           \
    X(std::string, newCornerRadius, "20", "CornerRadius", "20")                                    \
    X(std::string, dismissTimeout, "15", "dismissTimeout", "15")                                   \
    X(bool, showDeviceNameSwitch, NO, "showDeviceName", NO)                                        \
    X(bool, miniBackgroundSwitch, YES, "veyMiniBackgroundView", YES)                               \
    X(bool, maxiBackgroundSwitch, YES, "veyMaxiBackgroundView", YES)                               \
    X(bool, timelineNumbers, YES, "timelineNumbersSwitch", YES)                                    \
    X(bool, hideNotificationTweaks, YES, "hideNotificationTweaksSwitch", YES)                      \
    X(bool, enableGlitch, NO, "glitchSwitch", NO)

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
