// The shipped executables import only what release/windows-imports.txt lists, and that
// list holds only functions of Known DLLs (release/known-dlls.txt) that Windows 7 has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pe_imports.h"

namespace quenlo::release {
namespace {

struct ListedImport {
    std::string dll;
    std::string function;
    std::string since;
    std::string checked;
    int line = 0;
};

std::vector<ListedImport> ReadImportList() {
    std::ifstream file(QUENLO_IMPORT_LIST);
    EXPECT_TRUE(file) << "cannot read " << QUENLO_IMPORT_LIST;
    std::vector<ListedImport> entries;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream fields(text);
        ListedImport entry;
        entry.line = line;
        fields >> entry.dll >> entry.function >> entry.since >> entry.checked;
        entries.push_back(entry);
    }
    return entries;
}

struct Shipped {
    std::string path;
    bool is64;
};

const std::vector<Shipped>& ShippedExecutables() {
    static const std::vector<Shipped> files = {
        {QUENLO_WIN64_TREE "/main_window/Quenlo.exe", true},
        {QUENLO_WIN64_TREE "/cli/quenlo-split.exe", true},
        {QUENLO_WIN32_TREE "/main_window/Quenlo.exe", false},
        {QUENLO_WIN32_TREE "/cli/quenlo-split.exe", false},
    };
    return files;
}

std::set<std::string> ReadKnownDlls() {
    std::ifstream file(QUENLO_KNOWN_DLLS);
    EXPECT_TRUE(file) << "cannot read " << QUENLO_KNOWN_DLLS;
    std::set<std::string> dlls;
    for (std::string text; std::getline(file, text);) {
        if (!text.empty() && text[0] != '#') {
            dlls.insert(text);
        }
    }
    return dlls;
}

std::string Key(const std::string& dll, const std::string& function) {
    return dll + " " + function;
}

TEST(ImportList, ListsOnlyFunctionsThatWindows7HasOfKnownDllsEachOnceWithHowItWasChecked) {
    const std::set<std::string> releases = {"NT4", "2000", "XP", "Vista", "7"};
    const std::set<std::string> knownDlls = ReadKnownDlls();
    std::set<std::string> seen;
    for (const ListedImport& entry : ReadImportList()) {
        SCOPED_TRACE("line " + std::to_string(entry.line) + ": " + entry.function);
        // As the reader reports them: lower case.
        EXPECT_TRUE(entry.dll.ends_with(".dll") &&
                    std::none_of(entry.dll.begin(), entry.dll.end(), ::isupper))
            << entry.dll;
        EXPECT_TRUE(knownDlls.count(entry.dll))
            << entry.dll << " is no Known DLL: load it with LoadSystemLibrary instead";
        EXPECT_TRUE(releases.count(entry.since)) << "since '" << entry.since << "'";
        EXPECT_FALSE(entry.checked.empty()) << "how it was checked is missing";
        EXPECT_TRUE(seen.insert(Key(entry.dll, entry.function)).second) << "listed twice";
    }
}

TEST(ImportList, ShippedExecutablesImportNothingElseAndEveryEntryIsStillUsed) {
    std::set<std::string> listed;
    for (const ListedImport& entry : ReadImportList()) {
        listed.insert(Key(entry.dll, entry.function));
    }
    std::set<std::string> used;
    std::string unlisted;
    for (const Shipped& exe : ShippedExecutables()) {
        SCOPED_TRACE(exe.path);
        PeImports imports;
        ASSERT_NO_THROW(imports = ReadPeImports(exe.path))
            << "build the Windows trees first (scripts/build.sh)";
        EXPECT_EQ(imports.is64, exe.is64);
        for (const auto& [dll, functions] : imports.functions) {
            for (const std::string& function : functions) {
                const std::string key = Key(dll, function);
                used.insert(key);
                if (!listed.count(key)) {
                    unlisted += key + "   (" + exe.path + ")\n";
                }
            }
        }
    }
    EXPECT_EQ(unlisted, "") << "imports missing from " << QUENLO_IMPORT_LIST
                            << ": check their minimum Windows version, then list them";
    std::string unused;
    for (const std::string& key : listed) {
        if (!used.count(key)) {
            unused += key + "\n";
        }
    }
    EXPECT_EQ(unused, "") << "listed but imported by no shipped executable: remove them";
}

TEST(PeImports, RefusesFilesThatAreNoExecutableNamingThem) {
    const std::string path = ::testing::TempDir() + "not-an-exe.txt";
    std::ofstream(path) << "MZ but nothing more";
    try {
        ReadPeImports(path);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace quenlo::release
