// The simulator-internals resolver: retries, resolving once, derived items, scrambled names.
#include <array>
#include <cstring>

#include "support/internals_stand_in.h"

namespace {

using namespace internals;
using stand_in::InternalsTest;
using stand_in::PlainName;

using Fields = std::array<uint8_t, kNameFields * 4 * kNameFieldWords>;
static_assert(sizeof(Fields) == 100);

Fields Snapshot() {
    Fields f;
    std::memcpy(f.data(), ScrambledNameFields(), f.size());
    return f;
}

bool FieldIsPlain(const Fields& f, NameField field) {
    const std::string name = PlainName(field);
    return std::memcmp(f.data() + 20 * field, name.c_str(), name.size() + 1) == 0;
}

using ResolverRetries = InternalsTest;

TEST_F(ResolverRetries, MissingModulesAreLookedUpAgainOnEveryCall) {
    InstallModule(kModuleA);
    InstallModule(kModuleD);
    EXPECT_FALSE(ResolveSimulatorInternals());
    EXPECT_EQ(SimulatorInternals().resolved_count, 2u);
    EXPECT_NE(SimulatorInternals().position_angle, nullptr);
    EXPECT_NE(SimulatorInternals().elevation, nullptr);
    EXPECT_FALSE(SimulatorInternals().gain_table_ready);

    // Only B and C are looked up again; the two found stay as they are.
    fake::ClearCalls();
    InstallModule(kModuleB);
    EXPECT_FALSE(ResolveSimulatorInternals());
    EXPECT_TRUE(test::SameCalls(
        {"GetModuleHandleA(\"" + PlainName(kModuleB) + "\")",
         "GetProcAddress(" + fake::Format(fake::AddModule(PlainName(kModuleB))) + ", \"" +
             PlainName(kExportName) + "\")",
         "GetModuleHandleA(\"" + PlainName(kModuleC) + "\")"},
        fake::CallsOf(std::vector<std::string>{"GetModuleHandleA", "GetProcAddress"})));
    EXPECT_EQ(SimulatorInternals().resolved_count, 3u);
}

TEST_F(ResolverRetries, AModuleWithoutTheExportStaysUnresolved) {
    InstallAll();
    fake::AddExport(fake::AddModule(PlainName(kModuleC)), PlainName(kExportName), nullptr);
    EXPECT_FALSE(ResolveSimulatorInternals());
    EXPECT_EQ(SimulatorInternals().record[kModuleC], 0u);
    EXPECT_EQ(SimulatorInternals().resolved_count, 3u);
    InstallModule(kModuleC);
    EXPECT_TRUE(ResolveSimulatorInternals());
    EXPECT_TRUE(SimulatorInternals().gain_table_ready);
}

TEST_F(ResolverRetries, DependentCallsStopResolvingOnceAllFourAreFound) {
    float io[3] = {};
    queries::ServiceQuery(MDN_QUERY_POSITION_ANGLE, io);  // nothing loaded yet
    EXPECT_TRUE(SimulatorInternals().resolve_pending);
    InstallAll();
    queries::ServiceQuery(MDN_QUERY_POSITION_ANGLE, io);
    EXPECT_FALSE(SimulatorInternals().resolve_pending);

    fake::ClearCalls();
    uint32_t k = 0;
    queries::ServiceQuery(MDN_QUERY_GAIN_WORD, &k);
    queries::ServiceControl(MDN_CONTROL_SET_GAIN, &k);
    MdnSurface surface{reinterpret_cast<uint16_t*>(io), 0, 0, 0};
    double position[3] = {};
    queries::DrawTerrainMap(&surface, position, 1.0f, 0.0f, 0.0f, 15);
    EXPECT_TRUE(
        fake::CallsOf(std::vector<std::string>{"GetModuleHandleA", "GetProcAddress"}).empty());
}

using ResolverDerivation = InternalsTest;

TEST_F(ResolverDerivation, ItemsComeFromTheRecordWordsAndTheGainObject) {
    InstallAll();
    ASSERT_TRUE(ResolveSimulatorInternals());
    const ResolverState& s = SimulatorInternals();
    EXPECT_EQ(s.record[kModuleB], reinterpret_cast<uintptr_t>(records_.b));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(s.position_angle), records_.a[kPositionAngleWord]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(s.elevation), records_.d[kElevationWord]);
    EXPECT_EQ(s.gain_object, &records_.gain_object);
    EXPECT_EQ(s.gain_table, records_.gain_object.table);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(s.gain_setter), records_.functions[kGainSetterWord]);
    EXPECT_TRUE(s.gain_table_ready);
}

TEST_F(ResolverDerivation, AGainObjectWithoutFunctionsLeavesTheTableUnready) {
    records_.gain_object.functions = nullptr;
    InstallAll();
    EXPECT_TRUE(ResolveSimulatorInternals());  // C is resolved all the same
    EXPECT_EQ(SimulatorInternals().gain_object, nullptr);
    EXPECT_EQ(SimulatorInternals().gain_table, nullptr);
    EXPECT_FALSE(SimulatorInternals().gain_table_ready);
}

TEST_F(ResolverDerivation, ANullGainSetterLeavesTheTableReadableButUnready) {
    records_.functions[kGainSetterWord] = 0;
    InstallAll();
    EXPECT_TRUE(ResolveSimulatorInternals());
    EXPECT_NE(SimulatorInternals().gain_table, nullptr);
    EXPECT_FALSE(SimulatorInternals().gain_table_ready);
}

using ResolverNames = InternalsTest;

TEST_F(ResolverNames, EachNameIsReadableOnlyWhileItsOwnLookUpRuns) {
    InstallAll();
    const Fields before = Snapshot();
    for (size_t f = 0; f < kNameFields; ++f) {
        EXPECT_FALSE(FieldIsPlain(before, static_cast<NameField>(f))) << "field " << f;
    }
    struct Seen {
        std::string line;
        Fields fields;
    };
    std::vector<Seen> seen;
    fake::SetCallObserver([&](const std::string& line) {
        if (line.starts_with("GetModuleHandleA(") || line.starts_with("GetProcAddress(")) {
            seen.push_back({line, Snapshot()});
        }
    });
    ASSERT_TRUE(ResolveSimulatorInternals());
    fake::SetCallObserver(nullptr);

    ASSERT_EQ(seen.size(), 8u);
    for (size_t i = 0; i < seen.size(); ++i) {
        const auto module = static_cast<NameField>(i / 2);
        const NameField plain = i % 2 == 0 ? module : kExportName;
        EXPECT_NE(seen[i].line.find("\"" + PlainName(plain) + "\""), std::string::npos);
        for (size_t f = 0; f < kNameFields; ++f) {
            EXPECT_EQ(FieldIsPlain(seen[i].fields, static_cast<NameField>(f)), f == plain)
                << seen[i].line << ", field " << f;
        }
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ResolverNames, NoNameIsStoredAsPlainText) {
    const Fields fields = Snapshot();
    const std::string bytes(fields.begin(), fields.end());
    for (size_t f = 0; f < kNameFields; ++f) {
        const std::string name = PlainName(static_cast<NameField>(f));
        EXPECT_EQ(bytes.find(name.substr(0, 4)), std::string::npos) << name;
        EXPECT_LE(name.size(), 19u);
    }
}

}  // namespace
