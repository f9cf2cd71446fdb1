// Reads the import tables of a Windows executable (PE32 or PE32+) without Windows.
#pragma once

#include <map>
#include <set>
#include <string>

namespace quenlo::release {

struct PeImports {
    bool is64 = false;
    // DLL name in lower case → imported function names; "#N" for an import by ordinal.
    // Delay-loaded DLLs are included: they are loaded all the same.
    std::map<std::string, std::set<std::string>> functions;
};

// Throws std::runtime_error naming the file when it is not a readable PE file.
PeImports ReadPeImports(const std::string& path);

}  // namespace quenlo::release
