#include "topics.h"

#include <cstdio>
#include <cstring>

namespace bridge {

std::string StationTopic(std::string_view station, std::string_view rest) {
    std::string topic = "mdnsrv/";
    topic.append(station);
    topic += '/';
    topic.append(rest);
    return topic;
}

std::string StatusTopic(std::string_view station) {
    return StationTopic(station, "status");
}

std::string BlockTopic(std::string_view station) {
    return StationTopic(station, "airdata/block");
}

std::string FieldTopic(std::string_view station, const monitor::Field& field) {
    return StationTopic(station, std::string("airdata/") + field.name);
}

std::string CommandFilter(std::string_view station) {
    return StationTopic(station, "command/+");
}

std::string MirrorStatusTopic(std::string_view station, std::string_view mirror) {
    return StationTopic(station, "mirror/" + std::string(mirror) + "/status");
}

std::string_view CommandName(std::string_view station, std::string_view topic) {
    const std::string prefix = StationTopic(station, "command/");
    if (topic.size() <= prefix.size() || topic.substr(0, prefix.size()) != prefix)
        return {};
    return topic.substr(prefix.size());
}

void FormatField(const monitor::Field& field, const uint8_t* block, char* out) {
    const uint8_t* at = block + field.offset;
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    switch (field.type) {
        case monitor::FieldType::kWord:
            std::snprintf(out, kFieldTextSize, "%lu", static_cast<unsigned long>(word));
            break;
        case monitor::FieldType::kInteger:
            std::snprintf(out, kFieldTextSize, "%ld",
                          static_cast<long>(static_cast<int32_t>(word)));
            break;
        case monitor::FieldType::kSingle: {
            float value;
            std::memcpy(&value, at, sizeof value);
            std::snprintf(out, kFieldTextSize, "%.9g", static_cast<double>(value));
            break;
        }
        case monitor::FieldType::kDouble: {
            double value;
            std::memcpy(&value, at, sizeof value);
            std::snprintf(out, kFieldTextSize, "%.17g", value);
            break;
        }
    }
}

}  // namespace bridge
