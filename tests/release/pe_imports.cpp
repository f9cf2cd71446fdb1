#include "pe_imports.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace quenlo::release {
namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr int kImportDirectory = 1;
constexpr int kDelayImportDirectory = 13;

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class Image {
public:
    explicit Image(const std::string& path) : path_(path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            Fail("cannot be opened");
        }
        bytes_.assign(std::istreambuf_iterator<char>(file), {});
    }

    [[noreturn]] void Fail(const std::string& why) const {
        throw std::runtime_error(path_ + ": " + why);
    }

    template <typename T>
    T At(std::size_t offset) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
            Fail("truncated or damaged (offset " + std::to_string(offset) + ")");
        }
        T value = 0;  // little-endian, whatever this machine is
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value |= static_cast<T>(static_cast<T>(static_cast<unsigned char>(bytes_[offset + i]))
                                    << (8 * i));
        }
        return value;
    }

    std::string StringAt(std::size_t offset) const {
        std::string text;
        while (char c = At<char>(offset++)) {
            text.push_back(c);
        }
        return text;
    }

    void AddSection(const Section& section) { sections_.push_back(section); }

    std::size_t FileOffset(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            const std::uint32_t span = std::max(s.virtualSize, s.rawSize);
            if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
                return std::size_t{s.rawOffset} + (rva - s.virtualAddress);
            }
        }
        Fail("address " + std::to_string(rva) + " lies in no section");
    }

private:
    std::string path_;
    std::vector<char> bytes_;
    std::vector<Section> sections_;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// One DLL's lookup table: a zero-ended array of thunks, each an ordinal (top bit set)
// or the address of a hint and a name.
void ReadThunks(const Image& image, bool is64, std::uint32_t tableRva, std::set<std::string>& out) {
    std::size_t at = image.FileOffset(tableRva);
    for (;; at += is64 ? 8 : 4) {
        const std::uint64_t thunk = is64 ? image.At<std::uint64_t>(at) : image.At<std::uint32_t>(at);
        if (thunk == 0) {
            return;
        }
        const std::uint64_t ordinalFlag = is64 ? 1ull << 63 : 1ull << 31;
        if (thunk & ordinalFlag) {
            out.insert(std::string(1, '#').append(std::to_string(thunk & 0xFFFF)));
        } else {
            out.insert(image.StringAt(image.FileOffset(static_cast<std::uint32_t>(thunk)) + 2));
        }
    }
}

}  // namespace

PeImports ReadPeImports(const std::string& path) {
    Image image(path);
    if (image.At<std::uint16_t>(0) != 0x5A4D) {  // "MZ"
        image.Fail("not a Windows executable");
    }
    const std::size_t pe = image.At<std::uint32_t>(0x3C);
    if (image.At<std::uint32_t>(pe) != 0x00004550) {  // "PE\0\0"
        image.Fail("not a PE file");
    }
    const std::size_t coff = pe + 4;
    const std::uint16_t sectionCount = image.At<std::uint16_t>(coff + 2);
    const std::uint16_t optionalSize = image.At<std::uint16_t>(coff + 16);
    const std::size_t optional = coff + 20;
    const std::uint16_t magic = image.At<std::uint16_t>(optional);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
        image.Fail("unknown optional header");
    }
    PeImports result;
    result.is64 = magic == kMagicPe32Plus;
    const std::size_t directories = optional + (result.is64 ? 112 : 96);
    const std::uint32_t directoryCount = image.At<std::uint32_t>(directories - 4);

    const std::size_t sections = optional + optionalSize;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = sections + i * 40;
        image.AddSection({image.At<std::uint32_t>(s + 12), image.At<std::uint32_t>(s + 8),
                          image.At<std::uint32_t>(s + 20), image.At<std::uint32_t>(s + 16)});
    }
    auto directoryRva = [&](int index) -> std::uint32_t {
        return static_cast<std::uint32_t>(index) < directoryCount
                   ? image.At<std::uint32_t>(directories + 8 * static_cast<std::size_t>(index))
                   : 0;
    };

    // IMAGE_IMPORT_DESCRIPTOR, 20 bytes: lookup table, -, -, name, address table.
    if (const std::uint32_t rva = directoryRva(kImportDirectory)) {
        for (std::size_t d = image.FileOffset(rva);; d += 20) {
            const std::uint32_t name = image.At<std::uint32_t>(d + 12);
            if (name == 0) {
                break;
            }
            const std::uint32_t lookup = image.At<std::uint32_t>(d);
            const std::uint32_t table = lookup ? lookup : image.At<std::uint32_t>(d + 16);
            ReadThunks(image, result.is64, table,
                       result.functions[Lower(image.StringAt(image.FileOffset(name)))]);
        }
    }
    // Delay-load descriptor, 32 bytes: attributes, name, handle, address table, name table.
    if (const std::uint32_t rva = directoryRva(kDelayImportDirectory)) {
        for (std::size_t d = image.FileOffset(rva);; d += 32) {
            const std::uint32_t name = image.At<std::uint32_t>(d + 4);
            if (name == 0) {
                break;
            }
            ReadThunks(image, result.is64, image.At<std::uint32_t>(d + 16),
                       result.functions[Lower(image.StringAt(image.FileOffset(name)))]);
        }
    }
    return result;
}

}  // namespace quenlo::release
