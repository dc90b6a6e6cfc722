// The now-playing service and MRMediaRemoteGetNowPlayingInfo.
#include "platform/mediaremote/mediaremote.h"

#include <filesystem>

namespace {

void post(std::string_view name) {
    std::string copy(name);
    dispatch_async(dispatch_get_main_queue(), [copy] { notify_post(copy); });
}

} // namespace

void MRMediaRemoteGetNowPlayingInfo(dispatch_queue_t queue,
                                    std::function<void(NSDictionary* info)> callback) {
    if (!callback) return;
    Ref<NSDictionary> info = MRNowPlayingService::shared().nowPlayingInfo();
    dispatch_async(queue ? queue : dispatch_get_main_queue(),
                   [info, callback = std::move(callback)] { callback(info.get()); });
}

MRNowPlayingService& MRNowPlayingService::shared() {
    static auto* service = new MRNowPlayingService();
    return *service;
}

void MRNowPlayingService::play(MRTrack track) {
    if (hasItem()) {
        queue_.insert(queue_.begin() + std::ptrdiff_t(index_ + 1), std::move(track));
        index_++;
    } else {
        queue_ = {std::move(track)};
        index_ = 0;
    }
    postItemChange();
    if (!playing_) {
        playing_ = true;
        postPlayingChange();
    }
}

void MRNowPlayingService::enqueue(MRTrack track) {
    bool wasEmpty = !hasItem();
    if (wasEmpty) {
        queue_.clear();
        index_ = 0;
    }
    queue_.push_back(std::move(track));
    // A queue that had nothing loaded now has a paused item.
    if (wasEmpty) postItemChange();
}

void MRNowPlayingService::stop() {
    bool had = hasItem();
    queue_.clear();
    index_ = 0;
    if (had) postItemChange();
    if (playing_) {
        playing_ = false;
        postPlayingChange();
    }
}

void MRNowPlayingService::setPlaying(bool playing) {
    if (!hasItem() || playing == playing_) return;
    playing_ = playing;
    postPlayingChange();
}

bool MRNowPlayingService::changeTrack(int delta) {
    if (!hasItem()) return false;
    if (delta == 0) return true;
    long target = long(index_) + delta;
    if (target < 0)
        target = 0;
    else if (target >= long(queue_.size()))
        target = 0;
    index_ = std::size_t(target);
    postItemChange();
    return true;
}

bool MRNowPlayingService::togglePlayPause() {
    if (!hasItem()) return false;
    playing_ = !playing_;
    postPlayingChange();
    return true;
}

Ref<NSDictionary> MRNowPlayingService::nowPlayingInfo() const {
    const MRTrack* track = currentTrack();
    if (!track) return nullptr;
    Ref<NSDictionary> info = NSDictionary::make();
    if (track->title)
        info->setObject(NSString::make(*track->title), kMRMediaRemoteNowPlayingInfoTitle);
    if (track->artist)
        info->setObject(NSString::make(*track->artist), kMRMediaRemoteNowPlayingInfoArtist);
    if (track->artworkData)
        info->setObject(track->artworkData, kMRMediaRemoteNowPlayingInfoArtworkData);
    info->setObject(NSNumber::withDouble(track->duration), kMRMediaRemoteNowPlayingInfoDuration);
    return info;
}

UIImage* MRNowPlayingService::currentArtwork() {
    const MRTrack* track = currentTrack();
    NSData* data = track ? track->artworkData.get() : nullptr;
    if (data != artworkSource_.get()) {
        artworkSource_ = data;
        artwork_ = data ? UIImage::imageWithData(data) : nullptr;
    }
    return artwork_;
}

void MRNowPlayingService::reset() {
    queue_.clear();
    index_ = 0;
    playing_ = false;
    artwork_ = nullptr;
    artworkSource_ = nullptr;
}

void MRNowPlayingService::postItemChange() {
    post(kMRMediaRemoteNowPlayingInfoDidChangeNotification);
}

void MRNowPlayingService::postPlayingChange() {
    post(kMRMediaRemoteNowPlayingApplicationIsPlayingDidChangeNotification);
}

UIImage* MRNowPlayingApplicationIcon() {
    static auto* icon = new Ref<UIImage>();
    static auto* loadedFor = new std::string();
    if (*loadedFor != NSDeviceRoot()) {
        *loadedFor = NSDeviceRoot();
        std::string path = NSDeviceRoot() + "/Applications/Music.app/AppIcon.png";
        std::error_code error;
        *icon = !NSDeviceRoot().empty() && std::filesystem::is_regular_file(path, error)
                    ? UIImage::imageWithContentsOfFile(path)
                    : nullptr;
    }
    return *icon;
}
