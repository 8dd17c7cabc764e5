// Topic names under mdnsrv/<station>/ and the text of each named quantity.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "block_fields.h"

namespace bridge {

constexpr char kOnline[] = "online";
constexpr char kWaiting[] = "waiting for simulator";
constexpr char kOffline[] = "offline";
constexpr char kLive[] = "live";
constexpr char kStale[] = "stale";

std::string StationTopic(std::string_view station, std::string_view rest);  // mdnsrv/<s>/<rest>
std::string StatusTopic(std::string_view station);
std::string BlockTopic(std::string_view station);
std::string FieldTopic(std::string_view station, const monitor::Field& field);
std::string CommandFilter(std::string_view station);  // mdnsrv/<s>/command/+
std::string MirrorStatusTopic(std::string_view station, std::string_view mirror);

// The command name of a topic under CommandFilter(station); empty when the topic is not one.
std::string_view CommandName(std::string_view station, std::string_view topic);

// A field's value in `block` as its topic carries it: singles %.9g, doubles %.17g, words and
// integers as decimal integers. `out` holds at least kFieldTextSize bytes.
constexpr size_t kFieldTextSize = 32;
void FormatField(const monitor::Field& field, const uint8_t* block, char* out);

}  // namespace bridge
