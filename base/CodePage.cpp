#include "base/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace zelvo {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// UTF-16 is handled in code; only GBK goes through iconv.
class GbkConverter {
public:
    GbkConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~GbkConverter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;

    // Converts as much as possible; on an invalid or incomplete sequence, emits `bad` and skips
    // `skip` input bytes.
    std::string Run(std::string_view in, std::string_view bad, size_t skip) {
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t left = in.size();
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            size_t rc = iconv(m_cd, &src, &left, &dst, &room);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
            out.append(bad);
            size_t step = skip < left ? skip : left;
            src += step;
            left -= step;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// Byte string holding UTF-16LE code units, the form iconv reads and writes.
std::string ToUnits(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::u16string FromUnits(const std::string& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
    static const std::string kBad = ToUnits(std::u16string(1, kReplacement));
    GbkConverter converter("UTF-16LE", "GBK");
    return FromUnits(converter.Run(gbk, kBad, 1));
}

std::string Utf16ToGbk(std::u16string_view text) {
    // GBK holds no character outside the basic plane, so surrogates (paired or not) become '?'
    // here and iconv only meets characters it may or may not map.
    std::u16string clean;
    clean.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        }
        clean += (c >= 0xD800 && c <= 0xDFFF) ? u'?' : c;
    }
    GbkConverter converter("GBK", "UTF-16LE");
    return converter.Run(ToUnits(clean), "?", 2);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int extra = lead < 0x80            ? 0
                    : (lead & 0xE0) == 0xC0 ? 1
                    : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3
                                            : -1;
        bool ok = extra >= 0 && i + extra < utf8.size();
        char32_t cp = ok ? (lead & (0x7F >> extra)) : 0;
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        ok = ok && cp >= kMinimum[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!ok) {
            out += kReplacement;
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += extra + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = '?';
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk) { return Utf16ToUtf8(GbkToUtf16(gbk)); }

std::string Utf8ToGbk(std::string_view utf8) { return Utf16ToGbk(Utf8ToUtf16(utf8)); }

}  // namespace zelvo
