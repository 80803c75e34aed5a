#include "update/ExecutableHeader.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace zelvo {
namespace {

// Enough for an ELF header and for the MZ stub of any ordinary PE file.
constexpr size_t kHeaderBytes = 4096;

constexpr int kElfTypeExecutable = 2;
constexpr int kElfTypeShared = 3;
constexpr int kElfClass64 = 2;
constexpr int kElfDataLittle = 1;
constexpr uint16_t kPeOptional64 = 0x20B;

// The machine this build runs on, in the numbering of this platform's executable format.
#ifdef _WIN32
constexpr ExecutableFormat::Kind kPlatformKind = ExecutableFormat::kPe;
#if defined(_M_X64)
constexpr int kPlatformMachine = 0x8664;
#elif defined(_M_ARM64)
constexpr int kPlatformMachine = 0xAA64;
#elif defined(_M_IX86)
constexpr int kPlatformMachine = 0x14C;
#else
#error "Unknown machine: name its PE machine number here"
#endif
#else
constexpr ExecutableFormat::Kind kPlatformKind = ExecutableFormat::kElf;
#if defined(__x86_64__)
constexpr int kPlatformMachine = 62;
#elif defined(__aarch64__)
constexpr int kPlatformMachine = 183;
#elif defined(__i386__)
constexpr int kPlatformMachine = 3;
#else
#error "Unknown machine: name its ELF machine number here"
#endif
#endif

uint32_t Little(std::string_view bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

ExecutableFormat ReadElf(std::string_view header) {
    ExecutableFormat format;
    if (header.size() < 20 || header.substr(0, 4) != std::string_view("\x7F"
                                                                      "ELF",
                                                                      4)) {
        return format;
    }
    if (header[5] != kElfDataLittle) return format;
    int type = static_cast<int>(Little(header, 16, 2));
    if (type != kElfTypeExecutable && type != kElfTypeShared) return format;
    format.kind = ExecutableFormat::kElf;
    format.is64Bit = header[4] == kElfClass64;
    format.machine = static_cast<int>(Little(header, 18, 2));
    return format;
}

ExecutableFormat ReadPe(std::string_view header) {
    ExecutableFormat format;
    if (header.size() < 0x40 || header.substr(0, 2) != "MZ") return format;
    size_t pe = Little(header, 0x3C, 4);
    // Signature, file header (20 bytes) and the optional header's magic.
    if (pe > header.size() || header.size() - pe < 4 + 20 + 2) return format;
    if (header.substr(pe, 4) != std::string_view("PE\0\0", 4)) return format;
    format.kind = ExecutableFormat::kPe;
    format.machine = static_cast<int>(Little(header, pe + 4, 2));
    format.is64Bit = Little(header, pe + 24, 2) == kPeOptional64;
    return format;
}

}  // namespace

ExecutableFormat ReadExecutableFormat(std::string_view header) {
    ExecutableFormat format = ReadElf(header);
    return format.kind != ExecutableFormat::kUnknown ? format : ReadPe(header);
}

bool IsExecutableForThisPlatform(std::string_view header) {
    ExecutableFormat format = ReadExecutableFormat(header);
    return format.kind == kPlatformKind && format.machine == kPlatformMachine &&
           format.is64Bit == (sizeof(void*) == 8);
}

bool IsExecutableFileForThisPlatform(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string header(kHeaderBytes, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<size_t>(in.gcount()));
    return IsExecutableForThisPlatform(header);
}

}  // namespace zelvo
