#include <openssl/sha.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/OigMessage.h"
#include "MISCIL/WireText.h"

namespace zelvo {
namespace {

constexpr size_t kSignTextCapacity = 1024;
constexpr size_t kSignDigits = 40;

// Builds "k1=v1&k2=v2...MerKey" from the fields the bitmap selects, sorted by key; false (and
// logged) when it would not stay below the capacity.
bool BuildSignText(MisCilContext& context, const Bitmap& bitmap, std::string& text) {
    std::vector<const FieldDef*> selected;
    for (const FieldDef& def : context.fields) {
        if (def.index != FieldIndex::Sign && TestBitmapBit(bitmap.data(), def.index)) {
            selected.push_back(&def);
        }
    }
    std::sort(selected.begin(), selected.end(),
              [](const FieldDef* a, const FieldDef* b) { return std::strcmp(a->key, b->key) < 0; });
    text.clear();
    for (const FieldDef* def : selected) {
        if (!text.empty()) text += '&';
        if (text.size() + def->keyLength + 1 >= kSignTextCapacity) {
            WriteLogEvent(&context.record, 801, -1, "text buf len err1");
            return false;
        }
        text.append(def->key, def->keyLength);
        text += '=';
        std::string_view value = FieldValue(context.record, def->field);
        if (text.size() + value.size() >= kSignTextCapacity) {
            WriteLogEvent(&context.record, 812, -1, "text buf len err2");
            return false;
        }
        text += value;
    }
    const std::string& key = context.cfg.MerKey;
    if (text.size() + key.size() >= kSignTextCapacity) {
        WriteLogEvent(&context.record, 823, -1, "text buf len err3");
        return false;
    }
    text += key;
    return true;
}

}  // namespace

int nCalcSign(MisCilContext& context, char* out) {
    const Bitmap* bitmap = nullptr;
    std::string_view direction = FieldValue(context.record.saTxndir);
    if (direction == "Q") {
        bitmap = &context.requestBitmap;
    } else if (direction == "A") {
        bitmap = &context.answerBitmap;
    } else {
        std::printf("MISCIL:%d\n", 749);
        WriteLogEvent(&context.record, 749, -1, "txndir err");
        return -1;
    }
    std::string text;
    if (!BuildSignText(context, *bitmap, text)) return -1;

    const std::string& charset = context.cfg.Charset;
    std::string digested = text;
    if (charset == "1") {
        digested = RecordTextToWire(text, charset);
    } else {
        WriteLogEvent(&context.record, 848, charset.empty() ? 0 : charset[0],
                      "中文编码方式 config err");
    }
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(digested.data()), digested.size(), digest);
    for (size_t i = 0; i < SHA_DIGEST_LENGTH; ++i) std::snprintf(out + 2 * i, 3, "%02x", digest[i]);

    context.signDebugText = std::string("0").append(std::to_string(text.size()));
    context.signDebugText.append(out, kSignDigits).append(text);
    return 0;
}

int nGenSign(MisCilContext& context) {
    if (context.cfg.MerKey.empty()) {
        WriteLogEvent(&context.record, 703, 0, "MKEY is null");
        return 0;
    }
    char sign[kSignDigits + 1];
    if (nCalcSign(context, sign) != 0) {
        WriteLogEvent(&context.record, 708, MisCilError::SignFailed, "call nCalcSign() failed");
        return MisCilError::SignFailed;
    }
    SetFieldValue(context.record.saSign, sign);

    auto& message = context.oigReq;
    std::string pair = std::string(",\"sign\":\"") + sign + "\"}";
    if (message.length < 5 || message.text[message.length - 1] != '}' ||
        message.length - 1 + pair.size() > kMessageBufferSize) {
        return MisCilError::SignFailed;
    }
    std::memcpy(message.text + message.length - 1, pair.data(), pair.size());
    message.length += pair.size() - 1;
    message.text[message.length] = '\0';
    char prefix[5];
    NumToFixedWidth(static_cast<long long>(message.length - 4), prefix, 4);
    std::memcpy(message.text, prefix, 4);
    return 0;
}

int nCheckSign(MisCilContext& context) {
    if (context.cfg.MerKey.empty()) {
        WriteLogEvent(&context.record, 900, 0, "MKEY is null");
        return 0;
    }
    std::string_view received = FieldValue(context.record.saSign);
    if (received.size() != kSignDigits) {
        WriteLogEvent(
            &context.record, 907, static_cast<int>(received.size()),
            std::string("response message sign lenght error, the sgin is:").append(received));
        return MisCilError::SignCheck;
    }
    char expected[kSignDigits + 1];
    if (nCalcSign(context, expected) != 0) {
        WriteLogEvent(&context.record, 912, MisCilError::SignCheck, "call nCalcSign() failed");
        return MisCilError::SignCheck;
    }
    if (received != std::string_view(expected, kSignDigits)) {
        WriteLogEvent(&context.record, 917, MisCilError::SignCheck,
                      "response message sign not match");
        return MisCilError::SignCheck;
    }
    return 0;
}

}  // namespace zelvo
