// One MQTT session with the broker that the bridge keeps up for as long as it runs: it
// connects when due, tries again after a failure with a growing pause (reconnect.h), and never
// gives up. Messages are QoS 0; one that finds no room in the send queue is dropped and
// counted, so a slow broker never holds up the caller.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridge_settings.h"
#include "core_mqtt.h"
#include "transport.h"

namespace bridge {

class Session {
  public:
    using Handler = void (*)(void* user, std::string_view topic, const uint8_t* payload,
                             size_t size);

    // `will_topic` gets `will_text`, retained, when the connection dies without a goodbye.
    Session(const Settings& settings, std::string client_id, std::string will_topic,
            std::string will_text, std::vector<std::string> filters, Handler handler, void* user);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Connects when due, hands arrived messages to the handler, drains the send queue. True
    // when this call made a new connection: the caller publishes its retained topics again.
    bool Service();
    bool connected() const { return connected_; }
    // False when the message was dropped: not connected, or no room in the send queue.
    bool Publish(std::string_view topic, const void* payload, size_t size, bool retain);
    // Waits at most `timeout_ms` for something to read (or a retry to come due).
    void Wait(unsigned timeout_ms);
    // Says `text` on the will's topic and closes the session cleanly (a clean close sends no
    // will).
    void Close(std::string_view text);

    unsigned long dropped() const { return dropped_; }

  private:
    bool Connect();
    void Lost(const char* why);
    static void OnEvent(MQTTContext_t* context, MQTTPacketInfo_t* packet,
                        MQTTDeserializedInfo_t* info);

    const Settings& settings_;
    std::string client_id_, will_topic_, will_text_;
    std::vector<std::string> filters_;
    Handler handler_;
    void* user_;
    NetworkContext network_;
    MQTTContext_t mqtt_{};
    std::vector<uint8_t> buffer_;
    bool connected_ = false;
    bool said_waiting_ = false;
    uint32_t retry_ms_ = 0;
    uint32_t next_try_ = 0;
    uint32_t last_progress_ = 0;  // when the send queue last drained or shrank
    unsigned long dropped_ = 0;
};

}  // namespace bridge
