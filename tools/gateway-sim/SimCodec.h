#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvo::sim {

// The gateway's body: a flat object of string pairs, in the order they were written.
using SimPairs = std::vector<std::pair<std::string, std::string>>;

// The value of `key`, or empty.
std::string ValueOf(const SimPairs& pairs, const std::string& key);

// Parses `{"k":"v",...}`; none when the text is not such an object.
std::optional<SimPairs> ParseBody(const std::string& body);

std::string BuildBody(const SimPairs& pairs);

// Four decimal digits of the body's length, then the body.
std::string Frame(const std::string& body);

// SHA-1 (40 lowercase hexadecimal digits) of "k1=v1&k2=v2...KEY" over every pair except sign,
// sorted by key.
std::string SignatureOf(const SimPairs& pairs, const std::string& key);

}  // namespace zelvo::sim
