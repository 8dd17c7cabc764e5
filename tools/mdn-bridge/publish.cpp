// mdn-bridge publish: samples the block at its own rate and publishes each new snapshot, the
// quantities that changed, and the station's status.
#include <cstring>
#include <string>
#include <vector>

#include "block_sampling.h"
#include "bridge.h"
#include "command_keys.h"
#include "console.h"
#include "pacing.h"
#include "session.h"
#include "snapshot.h"
#include "topics.h"

namespace bridge {
namespace {

// How often an absent block is looked for, and a held one checked for its simulator.
constexpr uint32_t kLookEveryMs = 1000;
// An unchanged block goes out again this often, so a mirror can tell a quiet station (the
// simulator paused, the air-data computer not started) from one that has gone.
constexpr uint32_t kRepeatEveryMs = 1000;

bool Due(uint32_t now, uint32_t at) {
    return static_cast<int32_t>(now - at) >= 0;
}

class Publisher {
  public:
    explicit Publisher(const Settings& settings)
        : settings_(settings),
          status_topic_(StatusTopic(settings.station)),
          block_topic_(BlockTopic(settings.station)),
          session_(settings, "mdn-bridge-" + settings.station, status_topic_, kOffline,
                   settings.commands ? std::vector<std::string>{CommandFilter(settings.station)}
                                     : std::vector<std::string>{},
                   &Publisher::OnMessage, this),
          field_texts_(monitor::kFieldCount) {
        for (size_t i = 0; i < monitor::kFieldCount; ++i)
            field_topics_.push_back(FieldTopic(settings.station, monitor::kFields[i]));
        if (settings.commands)
            keys_.Load(settings);
    }

    void Run() {
        Say("publishing station %s to %s:%u, %u samples a second%s", settings_.station.c_str(),
            settings_.host.c_str(), settings_.port, settings_.rate,
            settings_.commands ? ", commands on" : "");
        Pacer pacer(settings_.rate);
        uint32_t next_look = NowMs();
        while (!StopAsked()) {
            if (session_.Service())
                PublishAgain();
            const uint32_t now = NowMs();
            if (Due(now, next_look)) {
                next_look = now + kLookEveryMs;
                Look();
            }
            if (source_.open())
                SampleOnce(now);
            keys_.Pump();
            pacer.Wait();
        }
        Say("stopping: %lu snapshots published, %lu messages dropped for a full send queue, "
            "%lu samples skipped as torn",
            static_cast<unsigned long>(sequence_), session_.dropped(), torn_);
        session_.Close(kOffline);
    }

  private:
    void Look() {
        const bool had = source_.open();
        const bool has = had ? source_.StillThere() : source_.Open();
        if (has && !had)
            Say("air-data block found");
        if (!has && had)
            Say("air-data block gone: the simulator has closed; looking for it again");
        if (!has && status_.empty())
            Say("air-data block not found: the simulator is not running, or the module is not "
                "loaded in it; looking for it every second");
        SetStatus(has ? kOnline : kWaiting);
        if (!has)
            have_block_ = false;
    }

    void SetStatus(const char* status) {
        if (status_ == status)
            return;
        status_ = status;
        Say("status: %s", status);
        session_.Publish(status_topic_, status_.data(), status_.size(), true);
    }

    void SampleOnce(uint32_t now) {
        uint8_t block[kBlockSize] __attribute__((aligned(8)));
        if (!source_.Sample(block)) {
            ++torn_;
            return;
        }
        const bool changed = !have_block_ || std::memcmp(block, block_, kBlockSize) != 0;
        std::memcpy(block_, block, kBlockSize);
        have_block_ = true;
        if (changed || !block_sent_ || Due(now, last_block_ + kRepeatEveryMs))
            PublishBlock(now);
        PublishFields(false);
    }

    void PublishBlock(uint32_t now) {
        uint8_t message[kMessageSize];
        SnapshotHeader header;
        header.sequence = sequence_ + 1;
        header.source_ms = now;
        EncodeSnapshot(header, block_, message);
        block_sent_ = session_.Publish(block_topic_, message, sizeof message, true);
        if (block_sent_) {
            sequence_ = header.sequence;
            last_block_ = now;
        }
    }

    // A quantity whose text is as last published is left alone; `all` sends every one (a new
    // connection, whose broker may have lost what it retained).
    void PublishFields(bool all) {
        for (size_t i = 0; i < monitor::kFieldCount; ++i) {
            char text[kFieldTextSize];
            FormatField(monitor::kFields[i], block_, text);
            if (!all && field_texts_[i] == text)
                continue;
            if (session_.Publish(field_topics_[i], text, std::strlen(text), true))
                field_texts_[i] = text;
        }
    }

    void PublishAgain() {
        if (!status_.empty())  // an empty retained message would clear the status
            session_.Publish(status_topic_, status_.data(), status_.size(), true);
        if (have_block_) {
            PublishBlock(NowMs());
            PublishFields(true);
        }
    }

    static void OnMessage(void* user, std::string_view topic, const uint8_t* payload, size_t size) {
        auto* self = static_cast<Publisher*>(user);
        const std::string_view name = CommandName(self->settings_.station, topic);
        if (self->settings_.commands && !name.empty())
            self->keys_.Offer(name, payload, size);
    }

    const Settings& settings_;
    const std::string status_topic_, block_topic_;
    std::vector<std::string> field_topics_;
    Session session_;
    BlockSource source_;
    CommandKeys keys_;
    std::string status_;
    std::vector<std::string> field_texts_;
    uint8_t block_[kBlockSize] __attribute__((aligned(8))) = {};
    bool have_block_ = false;
    bool block_sent_ = false;
    uint32_t sequence_ = 0;
    uint32_t last_block_ = 0;
    unsigned long torn_ = 0;
};

}  // namespace

int RunPublish(const Settings& settings) {
    Publisher publisher(settings);
    publisher.Run();
    return 0;
}

}  // namespace bridge
