// What gauge authors and users read against the module's own tables: the gauge header's
// constants, the guides' tables and the sample settings file. An id, operation, command or key
// added to a table and left out of what is published (or the other way round) fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/settings_file.h"
#include "queries/id_table.h"
#include "service/call_trace.h"

namespace {

std::string Read(const std::string& relative) {
    std::ifstream in(std::string(MDN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    EXPECT_TRUE(in) << relative;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The rows of the first Markdown table after the line `heading`, as cells without their
// surrounding blanks.
std::vector<std::vector<std::string>> TableAfter(const std::string& text,
                                                 const std::string& heading) {
    std::vector<std::vector<std::string>> rows;
    const size_t at = text.find("\n" + heading + "\n");
    EXPECT_NE(at, std::string::npos) << heading;
    if (at == std::string::npos)
        return rows;
    std::istringstream lines(text.substr(at + heading.size() + 2));
    std::string line;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (line.rfind("|", 0) != 0) {
            if (inside)
                break;
            continue;
        }
        inside = true;
        if (line.rfind("|---", 0) == 0)
            continue;
        std::vector<std::string> cells;
        std::string cell;
        for (size_t i = 1; i < line.size(); ++i) {
            if (line[i] == '|' && line[i - 1] != '\\') {
                cells.push_back(std::regex_replace(cell, std::regex("^\\s+|\\s+$"), ""));
                cell.clear();
            } else {
                cell += line[i];
            }
        }
        rows.push_back(cells);
    }
    if (!rows.empty())
        rows.erase(rows.begin());  // the heading row
    return rows;
}

// The numbers of a cell such as "1101, 1102".
std::vector<long> Numbers(const std::string& cell) {
    std::vector<long> numbers;
    const std::regex number("[0-9]+");
    for (auto it = std::sregex_iterator(cell.begin(), cell.end(), number);
         it != std::sregex_iterator(); ++it) {
        numbers.push_back(std::stol(it->str()));
    }
    return numbers;
}

// The constants `prefix...` = value of the gauge header.
std::map<std::string, long> HeaderConstants(const std::string& prefix) {
    std::map<std::string, long> constants;
    const std::string header = Read("include/mdnsrv.h");
    const std::regex constant("\\b(" + prefix + "[A-Z0-9_]+)\\s*=\\s*([0-9]+)");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), constant);
         it != std::sregex_iterator(); ++it) {
        constants[(*it)[1]] = std::stol((*it)[2]);
    }
    return constants;
}

template <class Table>
void ExpectTheHeaderAndGuideAgree(const Table& table, const std::string& prefix,
                                  const std::string& heading) {
    std::map<std::string, long> in_table;
    for (const auto& entry : table)
        in_table[entry.name] = static_cast<long>(entry.id);
    EXPECT_EQ(in_table, HeaderConstants(prefix)) << "table against include/mdnsrv.h";

    std::set<long> ids, guide;
    for (const auto& entry : table)
        ids.insert(static_cast<long>(entry.id));
    for (const auto& row : TableAfter(Read("docs/gauges.md"), heading)) {
        for (long id : Numbers(row.at(0)))
            EXPECT_TRUE(guide.insert(id).second) << id << " twice in " << heading;
    }
    EXPECT_EQ(ids, guide) << "table against docs/gauges.md, " << heading;
}

TEST(PublishedTables, QueryIdsAreTheHeadersAndTheGuides) {
    ExpectTheHeaderAndGuideAgree(queries::QueryTable(), "MDN_QUERY_", "### Queries (slot 0)");
    for (const auto& entry : queries::QueryTable()) {
        EXPECT_EQ(queries::FindQuery(entry.id), &entry) << entry.name;
        EXPECT_GT(entry.bytes, 0) << entry.name;
    }
}

TEST(PublishedTables, ControlIdsAreTheHeadersAndTheGuides) {
    ExpectTheHeaderAndGuideAgree(queries::ControlTable(), "MDN_CONTROL_", "### Controls (slot 1)");
    for (const auto& entry : queries::ControlTable())
        EXPECT_EQ(queries::FindControl(entry.id), &entry) << entry.name;
}

TEST(PublishedTables, OperationsAreTheGuidesSlotBySlot) {
    const auto rows = TableAfter(Read("docs/gauges.md"), "## The operations");
    ASSERT_EQ(rows.size(), size_t{MDN_SLOT_COUNT});
    for (size_t slot = 0; slot < rows.size(); ++slot) {
        EXPECT_EQ(rows[slot].at(0), std::to_string(slot));
        EXPECT_EQ(rows[slot].at(1), "`" + std::string(service::kOperationNames[slot]) + "`");
    }
}

TEST(PublishedTables, OwnCommandsAreTheInstallationGuides) {
    std::vector<std::string> guide;
    for (const auto& row : TableAfter(Read("docs/install.md"), "## The settings file and its keys"))
        guide.push_back(row.at(0));
    std::vector<std::string> commands;
    for (const char* command : host::kOwnCommands)
        commands.push_back("`" + std::string(command) + "`");
    EXPECT_EQ(commands, guide);
}

// Every key stands in the sample file, in its section (commented out or not), and the sample
// holds no other key; the installation guide names each.
TEST(PublishedTables, SettingKeysAreTheSampleFilesAndTheGuide) {
    std::set<std::string> sample;
    std::istringstream lines(Read("settings/MDNSERVICES.INI"));
    std::string line, section;
    const std::regex heading("^\\[([a-z]+)\\]"), key("^;?([A-Z][A-Z0-9_]*)=");
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, heading))
            section = match[1];
        else if (std::regex_search(line, match, key))
            sample.insert(section + "/" + match[1].str());
    }
    std::set<std::string> table;
    const std::string guide = Read("docs/install.md");
    for (const host::SettingKey& setting : host::kSettingKeys) {
        table.insert(std::string(setting.section) + "/" + setting.key);
        EXPECT_NE(guide.find("`" + std::string(setting.key) + "`"), std::string::npos)
            << setting.key << " is not in docs/install.md";
        EXPECT_NE(guide.find("[" + std::string(setting.section) + "]"), std::string::npos)
            << setting.section;
    }
    EXPECT_EQ(table, sample);
}

}  // namespace
