#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zelvo {

// Whether `signature` is a detached Ed25519 signature (64 raw bytes) of `data` by the public
// key in the PEM file `publicKeyFile`. A key file that cannot be read or holds another kind of
// key verifies nothing.
bool VerifyUpdateSignature(const std::filesystem::path& publicKeyFile, std::string_view data,
                           std::string_view signature);

// Reads a whole file of at most `maxBytes`; false when it is missing, unreadable or larger.
bool ReadWholeFile(const std::filesystem::path& file, size_t maxBytes, std::string& content);

}  // namespace zelvo
