// The process's local atom table: the keyboard names its hot keys by atoms.
#include <string>

#include "contract_check.h"
#include "platform/kernel.h"

namespace {

TEST(Atoms, NamesAreCaseBlindCountedAndFreedOnTheLastDelete) {
    const ATOM first = platform::AddAtomA("MdnContractFirst");
    const ATOM second = platform::AddAtomA("MdnContractSecond");
    EXPECT_GE(first, 0xC000);
    EXPECT_GE(second, 0xC000);
    EXPECT_NE(first, second);
    EXPECT_EQ(platform::AddAtomA("MDNCONTRACTFIRST"), first);
    EXPECT_EQ(platform::FindAtomA("mdncontractfirst"), first);

    EXPECT_EQ(platform::DeleteAtom(first), 0);  // still held once
    EXPECT_EQ(platform::FindAtomA("MdnContractFirst"), first);
    EXPECT_EQ(platform::DeleteAtom(first), 0);
    EXPECT_EQ(platform::FindAtomA("MdnContractFirst"), 0);
    EXPECT_EQ(platform::DeleteAtom(first), first) << "no longer held";
    EXPECT_EQ(platform::DeleteAtom(second), 0);
}

TEST(Atoms, NameReadBackWhole) {
    const ATOM atom = platform::AddAtomA("MdnAtom");
    char name[16] = "";
    EXPECT_EQ(platform::GetAtomNameA(atom, name, sizeof name), 7u);
    EXPECT_STREQ(name, "MdnAtom");
    EXPECT_EQ(platform::GetAtomNameA(0xC000 + 0x3F00, name, sizeof name), 0u)
        << "an atom nobody added";
    platform::DeleteAtom(atom);
}

TEST(Atoms, NameCutToTheBuffer) {
    const ATOM atom = platform::AddAtomA("MdnAtom");
    char name[8] = "zzzzzzz";
    EXPECT_EQ(platform::GetAtomNameA(atom, name, 4), 3u);
    EXPECT_STREQ(name, "Mdn");
    platform::DeleteAtom(atom);
}

TEST(Atoms, HashAndDigitsIsANumberNotAName) {
    EXPECT_EQ(platform::AddAtomA("#42"), 42);
    EXPECT_EQ(platform::FindAtomA("#42"), 42);
    EXPECT_EQ(platform::AddAtomA("#49152"), 0) << "integer atoms stop below 0xC000";
}

TEST(Atoms, EmptyAndOverlongNamesAreRefused) {
    EXPECT_EQ(platform::AddAtomA(std::string(256, 'x').c_str()), 0);
    const ATOM longest = platform::AddAtomA(std::string(255, 'x').c_str());
    EXPECT_NE(longest, 0);
    platform::DeleteAtom(longest);
}

}  // namespace
