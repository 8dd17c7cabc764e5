// The bridge's settings file: what each key sets, and what is refused with the line named.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bridge_settings.h"

namespace {

using bridge::ParseSettings;
using bridge::Settings;
using bridge::SettingsReport;

TEST(BridgeSettings, EveryKeySetsItsValueInAnyCase) {
    Settings s;
    SettingsReport r;
    ParseSettings(
        "; a cockpit\r\n"
        "[Broker]\r\n"
        "HOST = broker.local\r\n"
        "port=8883\r\n"
        "user=bridge\r\n"
        "password= p=w \r\n"
        "\r\n"
        "[bridge]\r\n"
        "station=left-seat_2\r\n"
        "rate=20\r\n"
        "[mirror]\r\n"
        "name=tablet_pc\r\n"
        "[commands]\r\n"
        "Enabled=YES\r\n"
        "simulator_folder=C:\\FS9\r\n"
        "[keys]\r\n"
        "GPS_ZOOM_IN=ctrl+f5\r\n",
        &s, &r);
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ("broker.local", s.host);
    EXPECT_EQ(8883, s.port);
    EXPECT_EQ("bridge", s.user);
    EXPECT_EQ("p=w", s.password);
    EXPECT_EQ("left-seat_2", s.station);
    EXPECT_EQ(20u, s.rate);
    EXPECT_EQ("tablet_pc", s.mirror_name);
    EXPECT_TRUE(s.commands);
    EXPECT_EQ("C:\\FS9", s.simulator_folder);
    ASSERT_EQ(1u, s.keys.size());
    EXPECT_EQ("GPS_ZOOM_IN", s.keys[0].first);
    EXPECT_EQ("ctrl+f5", s.keys[0].second);
}

TEST(BridgeSettings, AnEmptyFileKeepsTheDefaultsWithCommandsOff) {
    Settings s;
    SettingsReport r;
    ParseSettings("", &s, &r);
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ("127.0.0.1", s.host);
    EXPECT_EQ(1883, s.port);
    EXPECT_EQ("cockpit", s.station);
    EXPECT_EQ(30u, s.rate);
    EXPECT_FALSE(s.commands);
}

TEST(BridgeSettings, UnusableValuesAreProblemsNamingTheirLineAndKeepTheDefault) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[broker]\nport=0\n", "line 2: [broker] port = \"0\": not a port number"},
        {"[broker]\nport=65536\n", "not a port number"},
        {"[broker]\nport=18 83\n", "not a port number"},
        {"[broker]\nhost=\n", "must not be empty"},
        {"[bridge]\nstation=my cockpit\n", "only letters, digits"},
        {"[bridge]\nstation=a/b\n", "only letters, digits"},
        {"[bridge]\nstation=#\n", "only letters, digits"},
        {"[bridge]\nrate=61\n", "not a rate"},
        {"[bridge]\nrate=0\n", "not a rate"},
        {"[mirror]\nname=+\n", "only letters, digits"},
        {"[commands]\nenabled=maybe\n", "neither yes nor no"},
        {"[keys]\nX=\n", "not a key text"},
        {"[broker\nport=1\n", "line 1: a section without its ']'"},
        {"just words\n", "line 1: neither [section] nor KEY=value"},
    };
    for (const auto& c : cases) {
        Settings s;
        SettingsReport r;
        ParseSettings(c.text, &s, &r);
        ASSERT_EQ(1u, r.problems.size()) << c.text;
        EXPECT_NE(std::string::npos, r.problems[0].find(c.expected))
            << c.text << " gave: " << r.problems[0];
        EXPECT_EQ(1883, s.port) << c.text;
        EXPECT_EQ("cockpit", s.station) << c.text;
        EXPECT_EQ(30u, s.rate) << c.text;
        EXPECT_FALSE(s.commands) << c.text;
    }
}

TEST(BridgeSettings, UnknownKeysAndSectionsAreNotesOnly) {
    Settings s;
    SettingsReport r;
    ParseSettings("[broker]\nprot=1884\n[extra]\nport=1\n", &s, &r);
    EXPECT_TRUE(r.problems.empty());
    ASSERT_EQ(2u, r.notes.size());
    EXPECT_EQ("line 2: [broker] prot is not a setting; it is ignored", r.notes[0]);
    EXPECT_EQ(1883, s.port);
}

TEST(BridgeSettings, TopicNamesAreLettersDigitsDashAndUnderscoreUpTo64) {
    EXPECT_TRUE(bridge::IsTopicName("cockpit"));
    EXPECT_TRUE(bridge::IsTopicName(std::string(64, 'a')));
    EXPECT_FALSE(bridge::IsTopicName(std::string(65, 'a')));
    EXPECT_FALSE(bridge::IsTopicName(""));
    for (const char* bad : {"a b", "a/b", "a+", "a#", "ä", "a.b"})
        EXPECT_FALSE(bridge::IsTopicName(bad)) << bad;
}

}  // namespace

namespace {

TEST(BridgeSettings, TheSampleFileReadsCleanlyWithCommandsOff) {
    std::ifstream file(MDN_BRIDGE_SAMPLE_INI, std::ios::binary);
    ASSERT_TRUE(file) << MDN_BRIDGE_SAMPLE_INI;
    std::ostringstream text;
    text << file.rdbuf();
    Settings s;
    SettingsReport r;
    ParseSettings(text.str(), &s, &r);
    EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    EXPECT_TRUE(r.notes.empty()) << r.notes.front();
    EXPECT_FALSE(s.commands);
    EXPECT_EQ("cockpit", s.station);
}

}  // namespace
