#include "MISCIL/OigMessage.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/WireText.h"

namespace zelvo {
namespace {

constexpr double kMaxFen = 4294967294.0;

int FieldMissingCode(int index) {
    return 10 * index + 10002;
}

// Fills saOigTransAmtNum (and dTransAmt) from the application's amount in yuan.
int ConvertAmount(TransRecord& record) {
    std::string_view amount = FieldValue(record.saMisTransAmt);
    size_t point = amount.find('.');
    if (point != std::string_view::npos && amount.size() - point - 1 > 2) {
        return MisCilError::AmountDecimals;
    }
    record.dTransAmt = std::atof(std::string(amount).c_str());
    double fen = std::trunc(record.dTransAmt * 100 + 0.5);
    // A negative amount has no fen value the gateway could carry.
    if (fen > kMaxFen || fen < 0) return MisCilError::AmountTooLarge;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%012u", static_cast<unsigned>(fen));
    SetFieldValue(record.saOigTransAmtNum, digits);
    return 0;
}

// The part of `text` between its first and second double quote; the whole text without one.
std::string_view Unquote(std::string_view text) {
    size_t first = text.find('"');
    if (first == std::string_view::npos) return text;
    size_t second = text.find('"', first + 1);
    if (second == std::string_view::npos) return text.substr(first + 1);
    return text.substr(first + 1, second - first - 1);
}

// Splits the body at commas that touch a double quote; other commas stay in their value.
std::map<std::string, std::string, std::less<>> SplitPairs(std::string_view body) {
    std::map<std::string, std::string, std::less<>> pairs;
    size_t start = 0;
    for (size_t i = 0; i <= body.size(); ++i) {
        bool end = i == body.size();
        bool split = !end && body[i] == ',' &&
                     ((i > 0 && body[i - 1] == '"') || (i + 1 < body.size() && body[i + 1] == '"'));
        if (!end && !split) continue;
        std::string_view pair = body.substr(start, i - start);
        size_t colon = pair.find(':');
        std::string_view key = Unquote(pair.substr(0, colon));
        std::string_view value =
            colon == std::string_view::npos ? std::string_view() : Unquote(pair.substr(colon + 1));
        pairs[std::string(key)] = std::string(value);
        start = i + 1;
    }
    return pairs;
}

// The first "}" after `open` that stands for itself: the second byte of a double-byte character
// of the system code page may also be 0x7D (as in "題"), and must not end the body.
size_t FindClosingBrace(std::string_view text, size_t open) {
    for (size_t i = open + 1; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '}') return i;
        bool lead = byte >= 0x81 && byte <= 0xFE;
        if (lead && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40) ++i;
    }
    return std::string_view::npos;
}

}  // namespace

int nPackOIGReq(MisCilContext& context, char* out, size_t capacity, size_t& length) {
    if (out == nullptr) return MisCilError::NoOutput;
    TransRecord& record = context.record;
    SetFieldValue(record.saTxndir, "Q");
    context.requestBitmap = {};
    LookupTxnBitmap(context, 2, 'Q', FieldValue(record.saTxnType), context.requestBitmap);

    if (TestBitmapBit(context.requestBitmap.data(), FieldIndex::Txamt)) {
        int rc = ConvertAmount(record);
        if (rc != 0) return rc;
    }

    std::string body = "{";
    for (const FieldDef& def : context.fields) {
        if (!TestBitmapBit(context.requestBitmap.data(), def.index)) continue;
        std::string_view value = FieldValue(record, def.field);
        if (value.empty()) {
            if (def.index == FieldIndex::GoodsInfo) continue;
            return FieldMissingCode(def.index);
        }
        if (body.size() > 1) body += ',';
        body += '"';
        body.append(def.key, def.keyLength);
        body += "\":\"";
        body += value;
        body += '"';
    }
    body += '}';
    body = RecordTextToWire(body, context.cfg.Charset);

    // The prefix has four digits and the buffer holds the whole message.
    if (body.size() + 4 > kMessageBufferSize) return MisCilError::NoOutput;
    auto& message = context.oigReq;
    NumToFixedWidth(static_cast<long long>(body.size()), message.text, 4);
    std::memcpy(message.text + 4, body.data(), body.size());
    message.length = body.size() + 4;
    message.text[message.length] = '\0';

    int signResult = nGenSign(context);
    if (signResult != 0) {
        WriteLogEvent(&record, 535, signResult, "call nGenSign failed");
    }
    if (message.length > capacity) return MisCilError::NoOutput;
    std::memcpy(out, message.text, message.length);
    if (message.length < capacity) out[message.length] = '\0';
    length = message.length;
    return 0;
}

int nUnpackOIGRsp(MisCilContext& context, const char* text, size_t length) {
    if (text == nullptr || length < 1 || length > kMessageBufferSize) {
        return MisCilError::BadAnswer;
    }
    std::string message = WireTextToRecord(std::string_view(text, length), context.cfg.Charset);
    if (message.size() > kMessageBufferSize) message.resize(kMessageBufferSize);
    auto& stored = context.oigRsp;
    std::memcpy(stored.text, message.data(), message.size());
    stored.text[message.size()] = '\0';
    stored.length = message.size();

    size_t open = message.find('{');
    size_t close = open == std::string::npos ? std::string::npos : FindClosingBrace(message, open);
    if (message.size() < 5 || message[4] != '{' || close == std::string::npos) {
        return MisCilError::NoBraces;
    }
    auto pairs = SplitPairs(std::string_view(message).substr(open + 1, close - open - 1));

    TransRecord& record = context.record;
    context.answerBitmap = {};
    for (const FieldDef& def : context.fields) {
        auto found = pairs.find(std::string_view(def.key, def.keyLength));
        SetFieldValue(record, def.field, found != pairs.end() ? found->second : std::string());
        if (!FieldValue(record, def.field).empty()) {
            SetBitmapBit(context.answerBitmap.data(), def.index);
        }
    }

    Bitmap required{};
    LookupTxnBitmap(context, 2, 'A', FieldValue(record.saTxnType), required);
    std::string_view respCode = FieldValue(record.saRespCode);
    for (const FieldDef& def : context.fields) {
        if (!TestBitmapBit(required.data(), def.index) ||
            TestBitmapBit(context.answerBitmap.data(), def.index)) {
            continue;
        }
        bool chcdMayLack = def.index == FieldIndex::Chcd && respCode != RespCode::Success &&
                           respCode != RespCode::InProgress;
        if (!chcdMayLack) return FieldMissingCode(def.index);
    }

    if (TestBitmapBit(context.answerBitmap.data(), FieldIndex::Txamt)) {
        long long fen = std::strtoll(record.saOigTransAmtNum, nullptr, 10);
        char yuan[32];
        std::snprintf(yuan, sizeof yuan, "%s%lld.%02lld", fen < 0 ? "-" : "", std::llabs(fen) / 100,
                      std::llabs(fen) % 100);
        SetFieldValue(record.saOigTransAmtStr, yuan);
    }
    return 0;
}

}  // namespace zelvo
