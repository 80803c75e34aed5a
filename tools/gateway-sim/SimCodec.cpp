#include "tools/gateway-sim/SimCodec.h"

#include <openssl/sha.h>

#include <algorithm>
#include <cstdio>

namespace zelvo::sim {

std::string ValueOf(const SimPairs& pairs, const std::string& key) {
    for (const auto& [name, value] : pairs) {
        if (name == key) return value;
    }
    return {};
}

std::optional<SimPairs> ParseBody(const std::string& body) {
    if (body.size() < 2 || body.front() != '{' || body.back() != '}') return std::nullopt;
    SimPairs pairs;
    size_t at = 1;
    auto quoted = [&](std::string& out) {
        if (at >= body.size() || body[at] != '"') return false;
        size_t end = body.find('"', at + 1);
        if (end == std::string::npos) return false;
        out = body.substr(at + 1, end - at - 1);
        at = end + 1;
        return true;
    };
    while (at < body.size() - 1) {
        std::string key, value;
        if (!quoted(key) || at >= body.size() || body[at++] != ':' || !quoted(value)) {
            return std::nullopt;
        }
        pairs.emplace_back(std::move(key), std::move(value));
        if (body[at] == ',') ++at;
    }
    return pairs;
}

std::string BuildBody(const SimPairs& pairs) {
    std::string body = "{";
    for (const auto& [key, value] : pairs) {
        if (body.size() > 1) body += ',';
        body += '"' + key + "\":\"" + value + '"';
    }
    return body + "}";
}

std::string Frame(const std::string& body) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04zu", body.size() % 10000);
    return prefix + body;
}

std::string SignatureOf(const SimPairs& pairs, const std::string& key) {
    SimPairs sorted;
    for (const auto& pair : pairs) {
        if (pair.first != "sign") sorted.push_back(pair);
    }
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (const auto& [name, value] : sorted) {
        if (!text.empty()) text += '&';
        text += name + "=" + value;
    }
    text += key;
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
    std::string hex;
    char digits[3];
    for (unsigned char byte : digest) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return hex;
}

}  // namespace zelvo::sim
