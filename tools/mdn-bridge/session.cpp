#include "session.h"

#include <cstring>
#include <utility>

#include "console.h"
#include "pacing.h"
#include "reconnect.h"

namespace bridge {
namespace {

constexpr size_t kReceiveBufferSize = 16 * 1024;
constexpr uint16_t kKeepAliveSeconds = 10;
constexpr unsigned kConnectTimeoutMs = 1000;
constexpr uint32_t kStalledMs = 15000;

// The library calls back without a context of the caller's; a process has one session.
Session* g_session = nullptr;

// Room for a message's fixed header, topic length and topic before its payload.
size_t PacketSize(size_t topic, size_t payload) {
    return 1 + 4 + 2 + topic + payload;
}

bool Due(uint32_t now, uint32_t at) {
    return static_cast<int32_t>(now - at) >= 0;
}

}  // namespace

Session::Session(const Settings& settings, std::string client_id, std::string will_topic,
                 std::string will_text, std::vector<std::string> filters, Handler handler,
                 void* user)
    : settings_(settings),
      client_id_(std::move(client_id)),
      will_topic_(std::move(will_topic)),
      will_text_(std::move(will_text)),
      filters_(std::move(filters)),
      handler_(handler),
      user_(user),
      buffer_(kReceiveBufferSize),
      next_try_(NowMs()) {
    g_session = this;
}

Session::~Session() {
    TransportClose(&network_);
    delete[] network_.queue;
    g_session = nullptr;
}

bool Session::Connect() {
    char why[128];
    if (!TransportConnect(&network_, settings_.host.c_str(), settings_.port, kConnectTimeoutMs, why,
                          sizeof why)) {
        if (!said_waiting_)
            Say("broker %s:%u: %s; trying again until it answers", settings_.host.c_str(),
                settings_.port, why);
        said_waiting_ = true;
        return false;
    }
    TransportInterface_t transport{};
    transport.pNetworkContext = &network_;
    transport.recv = &TransportRecv;
    transport.send = &TransportSend;
    MQTTFixedBuffer_t fixed{buffer_.data(), buffer_.size()};
    std::memset(&mqtt_, 0, sizeof mqtt_);
    MQTT_Init(&mqtt_, &transport, &NowMs, &Session::OnEvent, &fixed);

    MQTTConnectInfo_t info{};
    info.cleanSession = true;
    info.keepAliveSeconds = kKeepAliveSeconds;
    info.pClientIdentifier = client_id_.c_str();
    info.clientIdentifierLength = static_cast<uint16_t>(client_id_.size());
    if (!settings_.user.empty()) {
        info.pUserName = settings_.user.c_str();
        info.userNameLength = static_cast<uint16_t>(settings_.user.size());
        info.pPassword = settings_.password.c_str();
        info.passwordLength = static_cast<uint16_t>(settings_.password.size());
    }
    MQTTPublishInfo_t will{};
    will.qos = MQTTQoS0;
    will.retain = true;
    will.pTopicName = will_topic_.c_str();
    will.topicNameLength = static_cast<uint16_t>(will_topic_.size());
    will.pPayload = will_text_.c_str();
    will.payloadLength = will_text_.size();
    bool session_present = false;
    const MQTTStatus_t status =
        MQTT_Connect(&mqtt_, &info, &will, kConnectTimeoutMs, &session_present);
    if (status != MQTTSuccess) {
        // A refused user name or password comes back as a CONNACK code; said once, as an
        // absent broker is, until a session is made.
        if (!said_waiting_)
            Say("broker %s:%u refused the session (%s: check [broker] user and password); "
                "trying again until it answers",
                settings_.host.c_str(), settings_.port, MQTT_Status_strerror(status));
        said_waiting_ = true;
        TransportClose(&network_);
        return false;
    }
    if (!filters_.empty()) {
        std::vector<MQTTSubscribeInfo_t> list(filters_.size());
        for (size_t i = 0; i < filters_.size(); ++i) {
            list[i].qos = MQTTQoS0;
            list[i].pTopicFilter = filters_[i].c_str();
            list[i].topicFilterLength = static_cast<uint16_t>(filters_[i].size());
        }
        if (MQTT_Subscribe(&mqtt_, list.data(), list.size(), MQTT_GetPacketId(&mqtt_)) !=
            MQTTSuccess) {
            Lost("subscribing failed");
            return false;
        }
    }
    Say("connected to broker %s:%u as %s", settings_.host.c_str(), settings_.port,
        client_id_.c_str());
    connected_ = true;
    last_progress_ = NowMs();
    said_waiting_ = false;
    retry_ms_ = 0;
    return true;
}

void Session::Lost(const char* why) {
    if (connected_)
        Say("lost the broker (%s); trying again until it answers", why);
    connected_ = false;
    TransportClose(&network_);
    retry_ms_ = NextRetryMs(retry_ms_);
    next_try_ = NowMs() + retry_ms_;
}

bool Session::Service() {
    if (!connected_) {
        if (!Due(NowMs(), next_try_))
            return false;
        if (Connect())
            return true;
        retry_ms_ = NextRetryMs(retry_ms_);
        next_try_ = NowMs() + retry_ms_;
        return false;
    }
    // Everything that has arrived, within one call's worth, so a flood cannot starve the loop.
    for (int i = 0; i < 64 && connected_; ++i) {
        const MQTTStatus_t status = MQTT_ProcessLoop(&mqtt_);
        if (status != MQTTSuccess && status != MQTTNeedMoreBytes) {
            Lost(MQTT_Status_strerror(status));
            return false;
        }
        if (status == MQTTNeedMoreBytes || (TransportPending(&network_) == 0 && mqtt_.index == 0))
            break;
    }
    const size_t queued = network_.queued;
    if (connected_ && !TransportFlush(&network_)) {
        Lost("sending failed");
        return false;
    }
    // A link that died without a word takes nothing while the bridge keeps sending, so no
    // keep-alive ping is ever due: a queue that has not moved for long says it instead.
    const uint32_t now = NowMs();
    if (network_.queued == 0 || network_.queued < queued)
        last_progress_ = now;
    else if (now - last_progress_ > kStalledMs)
        Lost("the broker has taken nothing for 15 s");
    return false;
}

bool Session::Publish(std::string_view topic, const void* payload, size_t size, bool retain) {
    if (!connected_)
        return false;
    if (TransportRoom(&network_) < PacketSize(topic.size(), size)) {
        TransportFlush(&network_);
        if (TransportRoom(&network_) < PacketSize(topic.size(), size)) {
            ++dropped_;
            return false;
        }
    }
    MQTTPublishInfo_t info{};
    info.qos = MQTTQoS0;
    info.retain = retain;
    info.pTopicName = topic.data();
    info.topicNameLength = static_cast<uint16_t>(topic.size());
    info.pPayload = payload;
    info.payloadLength = size;
    const MQTTStatus_t status = MQTT_Publish(&mqtt_, &info, 0);
    if (status != MQTTSuccess) {
        Lost(MQTT_Status_strerror(status));
        return false;
    }
    return true;
}

void Session::Wait(unsigned timeout_ms) {
    if (!connected_) {
        const uint32_t now = NowMs();
        const uint32_t left = Due(now, next_try_) ? 0 : next_try_ - now;
        Sleep(left < timeout_ms ? left : timeout_ms);
        return;
    }
    TransportWait(&network_, timeout_ms);
}

void Session::Close(std::string_view text) {
    if (!connected_)
        return;
    Publish(will_topic_, text.data(), text.size(), true);
    MQTT_Disconnect(&mqtt_);
    // What is queued goes out before the socket closes; a broker that takes nothing now is
    // not waited for longer than a moment.
    for (int i = 0; i < 20 && network_.queued > 0 && TransportFlush(&network_); ++i)
        Sleep(10);
    TransportClose(&network_);
    connected_ = false;
}

void Session::OnEvent(MQTTContext_t*, MQTTPacketInfo_t* packet, MQTTDeserializedInfo_t* info) {
    if (g_session == nullptr || g_session->handler_ == nullptr)
        return;
    if ((packet->type & 0xF0U) != MQTT_PACKET_TYPE_PUBLISH || info->pPublishInfo == nullptr)
        return;
    const MQTTPublishInfo_t& p = *info->pPublishInfo;
    g_session->handler_(g_session->user_, std::string_view(p.pTopicName, p.topicNameLength),
                        static_cast<const uint8_t*>(p.pPayload), p.payloadLength);
}

}  // namespace bridge
