// mdn-bridge mirror: makes the named block on this PC and writes into it, byte for byte, each
// snapshot that a station publishes, so the readers on this PC work as beside the simulator.
#include <windows.h>

#include <cstring>
#include <string>

#include "bridge.h"
#include "console.h"
#include "mdnsrv.h"
#include "mirror_filter.h"
#include "pacing.h"
#include "session.h"
#include "topics.h"

namespace bridge {
namespace {

// Without a snapshot for this long a station counts as gone quiet: the block is stale.
constexpr uint32_t kStaleAfterMs = 2000;
// At most one line a second about dropped messages, so a flood does not flood the console.
constexpr uint32_t kDropLineEveryMs = 1000;

// The named block on this PC, written as the module writes it: each double with one 64-bit
// store and every other word with one 32-bit store, so a reader never sees a torn value.
class BlockTarget {
  public:
    ~BlockTarget() {
        if (view_ != nullptr)
            UnmapViewOfFile(view_);
        if (mapping_ != nullptr)
            CloseHandle(mapping_);
    }

    bool Create() {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME);
        if (mapping_ == nullptr)
            return false;
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            Say("the air-data block exists already on this PC (a simulator or another mirror "
                "runs here): it is written all the same");
        view_ = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, MDN_AIRDATA_SIZE);
        for (size_t i = 0; i < monitor::kFieldCount; ++i) {
            if (monitor::kFields[i].type == monitor::FieldType::kDouble)
                is_double_[monitor::kFields[i].offset / 4] = true;
        }
        return view_ != nullptr;
    }

    void Write(const uint8_t* block) {
        auto* bytes = static_cast<uint8_t*>(view_);
        for (size_t word = 0; word < kBlockSize / 4; ++word) {
            if (is_double_[word]) {
                uint64_t value;
                std::memcpy(&value, block + word * 4, sizeof value);
                __atomic_store_n(reinterpret_cast<uint64_t*>(bytes + word * 4), value,
                                 __ATOMIC_RELAXED);
                ++word;
            } else {
                uint32_t value;
                std::memcpy(&value, block + word * 4, sizeof value);
                __atomic_store_n(reinterpret_cast<uint32_t*>(bytes + word * 4), value,
                                 __ATOMIC_RELAXED);
            }
        }
    }

  private:
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
    bool is_double_[kBlockSize / 4] = {};
};

class Mirror {
  public:
    explicit Mirror(const Settings& settings)
        : settings_(settings),
          block_topic_(BlockTopic(settings.station)),
          status_topic_(StatusTopic(settings.station)),
          own_topic_(MirrorStatusTopic(settings.station, settings.mirror_name)),
          session_(settings, "mdn-mirror-" + settings.mirror_name, own_topic_, kOffline,
                   {block_topic_, status_topic_}, &Mirror::OnMessage, this) {}

    int Run() {
        if (!target_.Create()) {
            Say("the air-data block cannot be made on this PC (error %lu)",
                static_cast<unsigned long>(GetLastError()));
            return 3;
        }
        Say("mirroring station %s from %s:%u as %s", settings_.station.c_str(),
            settings_.host.c_str(), settings_.port, settings_.mirror_name.c_str());
        while (!StopAsked()) {
            if (session_.Service()) {
                writing_ = false;
                if (!own_status_.empty())
                    session_.Publish(own_topic_, own_status_.data(), own_status_.size(), true);
            }
            UpdateOwnStatus();
            SayDrops();
            session_.Wait(50);
        }
        const MirrorCounts& c = filter_.counts();
        Say("stopping: %lu snapshots written, %lu messages dropped", c.written, c.dropped());
        session_.Close(kOffline);
        return 0;
    }

  private:
    void UpdateOwnStatus() {
        const bool live =
            station_status_ == kOnline && wrote_ && NowMs() - last_write_ < kStaleAfterMs;
        const char* status = live ? kLive : kStale;
        if (own_status_ == status)
            return;
        own_status_ = status;
        Say("status: %s (station %s: %s)", status, settings_.station.c_str(),
            station_status_.empty() ? "no status yet" : station_status_.c_str());
        session_.Publish(own_topic_, own_status_.data(), own_status_.size(), true);
    }

    void SayDrops() {
        const MirrorCounts& c = filter_.counts();
        if (c.dropped() == said_dropped_ || NowMs() - last_drop_line_ < kDropLineEveryMs)
            return;
        said_dropped_ = c.dropped();
        last_drop_line_ = NowMs();
        Say("dropped block messages so far: %lu of wrong size, %lu of wrong magic, %lu of "
            "another version, %lu older than the last written",
            c.wrong_size, c.wrong_magic, c.wrong_version, c.older);
    }

    static void OnMessage(void* user, std::string_view topic, const uint8_t* payload, size_t size) {
        auto* self = static_cast<Mirror*>(user);
        if (topic == self->block_topic_) {
            if (self->filter_.Offer(payload, size) == MirrorVerdict::kWrite) {
                self->target_.Write(payload + kHeaderSize);
                if (!self->writing_)
                    Say("snapshot %lu written, the first since connecting",
                        static_cast<unsigned long>(self->filter_.last_sequence()));
                self->writing_ = true;
                self->wrote_ = true;
                self->last_write_ = NowMs();
            }
        } else if (topic == self->status_topic_) {
            self->station_status_.assign(reinterpret_cast<const char*>(payload),
                                         size > 64 ? 64 : size);
            self->filter_.StationStatus(self->station_status_);
            Say("station %s: %s", self->settings_.station.c_str(), self->station_status_.c_str());
        }
    }

    const Settings& settings_;
    const std::string block_topic_, status_topic_, own_topic_;
    Session session_;
    BlockTarget target_;
    MirrorFilter filter_;
    std::string station_status_;
    std::string own_status_;
    bool wrote_ = false;
    bool writing_ = false;  // a snapshot written since the last connection was made
    uint32_t last_write_ = 0;
    unsigned long said_dropped_ = 0;
    uint32_t last_drop_line_ = 0;
};

}  // namespace

int RunMirror(const Settings& settings) {
    Mirror mirror(settings);
    return mirror.Run();
}

}  // namespace bridge
