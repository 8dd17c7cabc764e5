#include "bridge_settings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bridge {
namespace {

constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxTextLength = 255;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Windows compares section and key names without regard to case; so does the bridge.
bool Same(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool ParseNumber(std::string_view text, unsigned long low, unsigned long high, unsigned long* out) {
    if (text.empty() || text.size() > 9)
        return false;
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value < low || value > high)
        return false;
    *out = value;
    return true;
}

bool ParseSwitch(std::string_view text, bool* out) {
    for (const char* on : {"yes", "on", "true", "1"}) {
        if (Same(text, on))
            return *out = true, true;
    }
    for (const char* off : {"no", "off", "false", "0"}) {
        if (Same(text, off))
            return *out = false, true;
    }
    return false;
}

struct Line {
    int number;
    std::string_view section, key, value;
    SettingsReport* report;

    void Problem(const char* why) const {
        char text[512];
        std::snprintf(text, sizeof text, "line %d: [%.*s] %.*s = \"%.*s\": %s", number,
                      static_cast<int>(section.size()), section.data(),
                      static_cast<int>(key.size()), key.data(),
                      static_cast<int>(value.size() > 80 ? 80 : value.size()), value.data(), why);
        report->problems.push_back(text);
    }
    void Unknown() const {
        char text[512];
        std::snprintf(text, sizeof text, "line %d: [%.*s] %.*s is not a setting; it is ignored",
                      number, static_cast<int>(section.size()), section.data(),
                      static_cast<int>(key.size()), key.data());
        report->notes.push_back(text);
    }
};

void Text(const Line& line, std::string* out, bool may_be_empty) {
    if (line.value.size() > kMaxTextLength)
        return line.Problem("longer than 255 characters");
    if (line.value.empty() && !may_be_empty)
        return line.Problem("must not be empty");
    *out = std::string(line.value);
}

void Name(const Line& line, std::string* out) {
    if (!IsTopicName(line.value))
        return line.Problem("only letters, digits, '-' and '_', 1 to 64 of them");
    *out = std::string(line.value);
}

void Apply(const Line& line, Settings* s) {
    unsigned long number = 0;
    const std::string_view sec = line.section;
    const std::string_view key = line.key;
    if (Same(sec, "broker") && Same(key, "host")) {
        Text(line, &s->host, false);
    } else if (Same(sec, "broker") && Same(key, "port")) {
        if (!ParseNumber(line.value, 1, 65535, &number))
            return line.Problem("not a port number (1 to 65535)");
        s->port = static_cast<uint16_t>(number);
    } else if (Same(sec, "broker") && Same(key, "user")) {
        Text(line, &s->user, true);
    } else if (Same(sec, "broker") && Same(key, "password")) {
        Text(line, &s->password, true);
    } else if (Same(sec, "bridge") && Same(key, "station")) {
        Name(line, &s->station);
    } else if (Same(sec, "bridge") && Same(key, "rate")) {
        if (!ParseNumber(line.value, kMinRate, kMaxRate, &number))
            return line.Problem("not a rate in samples per second (1 to 60)");
        s->rate = static_cast<unsigned>(number);
    } else if (Same(sec, "mirror") && Same(key, "name")) {
        Name(line, &s->mirror_name);
    } else if (Same(sec, "commands") && Same(key, "enabled")) {
        if (!ParseSwitch(line.value, &s->commands))
            return line.Problem("neither yes nor no");
    } else if (Same(sec, "commands") && Same(key, "simulator_folder")) {
        Text(line, &s->simulator_folder, true);
    } else if (Same(sec, "keys")) {
        if (line.key.size() > 63)
            return line.Problem("a command name has at most 63 characters");
        if (line.value.empty() || line.value.size() > 28)
            return line.Problem("not a key text such as CTRL+SHIFT+F5");
        s->keys.emplace_back(std::string(line.key), std::string(line.value));
    } else {
        line.Unknown();
    }
}

}  // namespace

bool IsTopicName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

void ParseSettings(std::string_view text, Settings* settings, SettingsReport* report) {
    std::string_view section;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) {
                char problem[64];
                std::snprintf(problem, sizeof problem, "line %d: a section without its ']'",
                              number);
                report->problems.push_back(problem);
                section = {};
            } else {
                section = Trim(line.substr(1, close - 1));
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            char problem[64];
            std::snprintf(problem, sizeof problem, "line %d: neither [section] nor KEY=value",
                          number);
            report->problems.push_back(problem);
            continue;
        }
        Apply(Line{number, section, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)),
                   report},
              settings);
    }
}

}  // namespace bridge
