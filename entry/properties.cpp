// The player's views, attached to the cover sheet as properties stored in associated objects.
#include "entry/properties.h"

#include "entry/hooks.h"

#include <cctype>

namespace {

// One getter/setter pair per property; the getter's own address is the association key, so
// the pair shares a key and no two properties do.
template <int N> id getProperty(id self, SEL);
template <int N> const void* keyOf() {
    return reinterpret_cast<const void*>(&getProperty<N>);
}
template <int N> id getProperty(id self, SEL) {
    return objc_getAssociatedObject(self, keyOf<N>());
}
template <int N> void setProperty(id self, SEL, id value) {
    objc_setAssociatedObject(self, keyOf<N>(), value, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

template <int N> AttachedProperty row(const char* name, const char* type) {
    return {name, type, reinterpret_cast<IMP>(&getProperty<N>),
            reinterpret_cast<IMP>(&setProperty<N>)};
}

} // namespace

const std::vector<AttachedProperty>& attachedProperties() {
    static const std::vector<AttachedProperty> table = {
        row<0>("veyView", "@\"UIView\""),
        row<1>("veyBackgroundArtwork", "@\"UIImageView\""),
        row<2>("pausePlayIcon", "@\"UIImageView\""),
        row<3>("skipIcon", "@\"UIImageView\""),
        row<4>("rewindIcon", "@\"UIImageView\""),
        row<5>("airplayIcon", "@\"UIImageView\""),
        row<6>("dismissIcon", "@\"UIImageView\""),
        row<7>("artworkImageView", "@\"UIImageView\""),
        row<8>("nowPlayingAppIcon", "@\"UIImageView\""),
        row<9>("blurButtonView", "@\"UIVisualEffectView\""),
        row<10>("veyBlurEffect", "@\"UIBlurEffect\""),
        row<11>("veySourceLabel", "@\"UILabel\""),
        row<12>("veyArtistLabel", "@\"UILabel\""),
        row<13>("veySongLabel", "@\"UILabel\""),
        row<14>("veyPauseButton", "@\"UIButton\""),
        row<15>("veyRewindButton", "@\"UIButton\""),
        row<16>("veySkipButton", "@\"UIButton\""),
        row<17>("veyAirplayButton", "@\"UIButton\""),
        row<18>("veyArtworkButton", "@\"UIButton\""),
        row<19>("veyDissmissButton", "@\"UIButton\""),
        row<20>("playingSource", "@\"UIButton\""),
        row<21>("veyMiniBackgroundView", "@\"InnerShadowButton\""),
        row<22>("downSwipe", "@\"UISwipeGestureRecognizer\""),
        row<23>("glitchCharacters", "@\"NSArray\""),
    };
    return table;
}

std::string attachedSetterName(const char* property) {
    std::string name = std::string("set") + property + ":";
    name[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[3])));
    return name;
}
