#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <QImage>

namespace zelvo::bench {

// One till total as a screen shows it, and the amount text the amount box should receive.
struct TillSample {
    QImage image;
    std::string shown;   // the text drawn, UTF-8
    std::string amount;  // "1280.5" for "¥1,280.5"
    std::string look;    // font, size and colours, for reading the failures
};

// Renders till totals with the installed fonts (sans, serif, mono, CJK and seven-segment),
// 12 to 48 pixels, with and without anti-aliasing (grey or ClearType), in the colours of till
// screens, with currency signs, thousands separators, labels, field borders, blur, desktop
// scaling and margins drawn from a generator seeded with `seed`: the same seed gives the same
// corpus.
class TillCorpus {
public:
    // `families`, when given, are drawn with instead of the usual ones (those installed of
    // them): fonts the reader was never tuned on. With `unitClose`, every total is followed by
    // "元" with no space before it ("128元"), instead of one in ten by " 元".
    explicit TillCorpus(std::uint32_t seed, const std::vector<std::string>& families = {},
                        bool unitClose = false);

    TillSample Next();

private:
    std::uint64_t m_state;
    std::vector<QString> m_families;
    bool m_unitClose = false;

    std::uint32_t Draw();
    int Between(int low, int high);
    bool Chance(int percent);
};

// Writes `count` samples as NNNN.bmp and truth.tsv (file, amount, shown text, look) into
// `folder`; returns the paths and amounts in order.
std::vector<std::pair<std::filesystem::path, std::string>> WriteCorpus(
    const std::filesystem::path& folder, int count, std::uint32_t seed,
    const std::vector<std::string>& families = {}, bool unitClose = false);

}  // namespace zelvo::bench
