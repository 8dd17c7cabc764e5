// Topic names, each quantity's text, command checks, the consistent read and the retry pauses.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "bridge_settings.h"
#include "command_check.h"
#include "consistent_read.h"
#include "mdnsrv.h"
#include "reconnect.h"
#include "topics.h"

namespace {

const monitor::Field& FieldNamed(const char* name) {
    for (size_t i = 0; i < monitor::kFieldCount; ++i) {
        if (std::strcmp(monitor::kFields[i].name, name) == 0)
            return monitor::kFields[i];
    }
    throw std::runtime_error(name);
}

TEST(Topics, StationTopicsFollowTheNetworkLayout) {
    EXPECT_EQ("mdnsrv/cockpit/status", bridge::StatusTopic("cockpit"));
    EXPECT_EQ("mdnsrv/cockpit/airdata/block", bridge::BlockTopic("cockpit"));
    EXPECT_EQ("mdnsrv/c2/airdata/altitude", bridge::FieldTopic("c2", FieldNamed("altitude")));
    EXPECT_EQ("mdnsrv/c2/command/+", bridge::CommandFilter("c2"));
    EXPECT_EQ("mdnsrv/c2/mirror/tablet/status", bridge::MirrorStatusTopic("c2", "tablet"));
    EXPECT_EQ("MDN_ADC_START", bridge::CommandName("c2", "mdnsrv/c2/command/MDN_ADC_START"));
    EXPECT_EQ("", bridge::CommandName("c2", "mdnsrv/c2/command/"));
    EXPECT_EQ("", bridge::CommandName("c2", "mdnsrv/c3/command/X"));
    EXPECT_EQ("", bridge::CommandName("c2", "mdnsrv/c2/status"));
}

TEST(Topics, EveryQuantityHasItsOwnTopicSafeName) {
    std::set<std::string> names;
    for (size_t i = 0; i < monitor::kFieldCount; ++i) {
        EXPECT_TRUE(bridge::IsTopicName(monitor::kFields[i].name)) << monitor::kFields[i].name;
        EXPECT_TRUE(names.insert(monitor::kFields[i].name).second) << monitor::kFields[i].name;
        EXPECT_NE("block", std::string(monitor::kFields[i].name));
    }
}

TEST(Topics, QuantityTextsRoundTripAtFullPrecisionByType) {
    MdnAirDataBlock block{};
    block.altitude = 10123.456789012345;
    block.aircraftVar25 = 123.456787f;
    block.value60 = -42;
    block.word0 = 4000000000u;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&block);
    char text[bridge::kFieldTextSize];
    bridge::FormatField(FieldNamed("altitude"), bytes, text);
    EXPECT_EQ(block.altitude, std::strtod(text, nullptr)) << text;
    bridge::FormatField(FieldNamed("aircraftVar25"), bytes, text);
    EXPECT_EQ(block.aircraftVar25, std::strtof(text, nullptr)) << text;
    EXPECT_STREQ("123.456787", text);
    bridge::FormatField(FieldNamed("value60"), bytes, text);
    EXPECT_STREQ("-42", text);
    bridge::FormatField(FieldNamed("word0"), bytes, text);
    EXPECT_STREQ("4000000000", text);
    bridge::FormatField(FieldNamed("frequency23"), bytes, text);
    EXPECT_STREQ("0", text);
}

TEST(CommandCheck, NamesAndShortTextPayloadsPassEverythingElseIsRefused) {
    const auto check = [](const char* name, const std::string& payload) {
        return bridge::CheckCommand(name, reinterpret_cast<const uint8_t*>(payload.data()),
                                    payload.size());
    };
    using bridge::CommandFault;
    EXPECT_EQ(CommandFault::kNone, check("MDN_ADC_START", ""));
    EXPECT_EQ(CommandFault::kNone, check("gps.zoom-in", "pressed at 12:00\r\n\tok"));
    EXPECT_EQ(CommandFault::kNone, check("X", std::string(256, 'a')));
    EXPECT_EQ(CommandFault::kNone, check("X", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9B\xA9"));
    EXPECT_EQ(CommandFault::kTooLong, check("X", std::string(257, 'a')));
    EXPECT_EQ(CommandFault::kBinary, check("X", std::string("a\0b", 3)));
    EXPECT_EQ(CommandFault::kBinary, check("X", "\x01"));
    EXPECT_EQ(CommandFault::kBinary, check("X", "\x7F"));
    EXPECT_EQ(CommandFault::kBinary, check("X", "\xFF\xFE"));
    EXPECT_EQ(CommandFault::kBinary, check("X", "\xC0\xAF"));          // overlong '/'
    EXPECT_EQ(CommandFault::kBinary, check("X", "\xED\xA0\x80"));      // a surrogate
    EXPECT_EQ(CommandFault::kBinary, check("X", "ab\xE2\x82"));        // cut short
    EXPECT_EQ(CommandFault::kBinary, check("X", "\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_EQ(CommandFault::kBadName, check("", ""));
    EXPECT_EQ(CommandFault::kBadName, check("A B", ""));
    EXPECT_EQ(CommandFault::kBadName, check(std::string(64, 'A').c_str(), ""));
    EXPECT_EQ(CommandFault::kNone, check(std::string(63, 'A').c_str(), ""));
}

// A block whose writer rewrites it `changes` more times while it is read.
struct ChangingBlock {
    int changes;
    int reads = 0;
    void operator()(uint8_t* out) {
        ++reads;
        std::memset(out, changes > 0 ? changes-- : 0, 8);
    }
};

TEST(ConsistentRead, TwoSuccessiveReadsMustAgreeWithinTheBoundedTries) {
    uint8_t out[8], scratch[8];
    ChangingBlock quiet{0};
    EXPECT_TRUE(bridge::ReadConsistent(quiet, out, scratch, 8));
    EXPECT_EQ(2, quiet.reads);
    ChangingBlock busy{2};
    EXPECT_TRUE(bridge::ReadConsistent(busy, out, scratch, 8));
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(4, busy.reads);
    ChangingBlock never{100};
    EXPECT_FALSE(bridge::ReadConsistent(never, out, scratch, 8));
    EXPECT_EQ(bridge::kConsistentReadTries, never.reads);
}

TEST(Reconnect, PausesDoubleFromATenthUpToTheCap) {
    uint32_t pause = 0;
    const uint32_t expected[] = {100, 200, 400, 800, 1000, 1000};
    for (uint32_t e : expected) {
        pause = bridge::NextRetryMs(pause);
        EXPECT_EQ(e, pause);
    }
}

}  // namespace
