// The player's views and values attached to the cover sheet, each declared once with its class,
// in the order they are added to CSCoverSheetView. Everything that names an attached property
// is generated from this list.
#pragma once

#define VEY_ATTACHED_PROPERTIES(X)                                                                 \
    X(veyView, UIView)                                                                             \
    X(veyBackgroundArtwork, UIImageView)                                                           \
    X(pausePlayIcon, UIImageView)                                                                  \
    X(skipIcon, UIImageView)                                                                       \
    X(rewindIcon, UIImageView)                                                                     \
    X(airplayIcon, UIImageView)                                                                    \
    X(dismissIcon, UIImageView)                                                                    \
    X(artworkImageView, UIImageView)                                                               \
    X(nowPlayingAppIcon, UIImageView)                                                              \
    X(blurButtonView, UIVisualEffectView)                                                          \
    X(veyBlurEffect, UIBlurEffect)                                                                 \
    X(veySourceLabel, UILabel)                                                                     \
    X(veyArtistLabel, UILabel)                                                                     \
    X(veySongLabel, UILabel)                                                                       \
    X(veyPauseButton, UIButton)                                                                    \
    X(veyRewindButton, UIButton)                                                                   \
    X(veySkipButton, UIButton)                                                                     \
    X(veyAirplayButton, UIButton)                                                                  \
    X(veyArtworkButton, UIButton)                                                                  \
    X(veyDissmissButton, UIButton)                                                                 \
    X(playingSource, UIButton)                                                                     \
    X(veyMiniBackgroundView, InnerShadowButton)                                                    \
    X(downSwipe, UISwipeGestureRecognizer)                                                         \
    X(glitchCharacters, NSArray)
