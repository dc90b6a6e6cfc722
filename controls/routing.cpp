// The audio route: the route button's icon, headphone routes and the route picker.
#include "entry/hooks.h"

void MRUNowPlayingHeaderView_layoutSubviews(id self, SEL _cmd) {
    callIMP(orig_MRUNowPlayingHeaderView_layoutSubviews, self, _cmd);
}

void MRUNowPlayingHeaderView_findNeededStuff(id, SEL) {}

void MPRouteLabel_setFrame(id self, SEL _cmd, CGRect frame) {
    callIMP(orig_MPRouteLabel_setFrame, self, _cmd, frame);
}

bool MPAVRoute_isHeadphonesRoute(id, SEL) {
    return NO;
}

bool MPAVRoute_isAirpodsRoute(id self, SEL _cmd) {
    return callIMP<bool>(orig_MPAVRoute_isAirpodsRoute, self, _cmd);
}

bool MPAVRoute_isB298Route(id self, SEL _cmd) {
    return callIMP<bool>(orig_MPAVRoute_isB298Route, self, _cmd);
}

bool MPAVRoute_isB515Route(id self, SEL _cmd) {
    return callIMP<bool>(orig_MPAVRoute_isB515Route, self, _cmd);
}

bool MPAVRoute_isB688Route(id self, SEL _cmd) {
    return callIMP<bool>(orig_MPAVRoute_isB688Route, self, _cmd);
}

id MPAVOutputDeviceRoute_systemAudioRoute(id, SEL) {
    return nullptr;
}

void CSCoverSheetView_openRoutingOptions(id, SEL) {}
