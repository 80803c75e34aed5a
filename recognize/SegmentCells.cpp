#include "recognize/SegmentCells.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelvo {
namespace {

// A segment is a straight stroke several times as long as it is thick, filling most of its box
// (its ends may be pointed); curved or slanted strokes of ordinary letters fill far less.
constexpr double kBarElongation = 2.2;
constexpr double kBarFill = 0.45;
// A segment shorter than this share of its kind's usual length is no segment.
constexpr double kShortest = 0.5;
// Two verticals run together are this many times one's length; no segment is longer.
constexpr double kShortestJoined = 1.6;
constexpr double kLongestJoined = 2.5;
constexpr double kLongestAcross = 1.35;
// An unlit segment showing more ink than this is a segment the reading missed.
constexpr double kUnlitInk = 0.3;

bool IsBarShape(const Mark& mark) {
    return mark.Thickness() >= 2 && mark.Length() >= kBarElongation * mark.Thickness() &&
           mark.Fill() >= kBarFill;
}

bool IsAcross(const Mark& mark) {
    return mark.w > mark.h;
}

// A cell while its segments are gathered: indices into the line's marks.
struct Gathering {
    double centre = 0;
    std::vector<int> across, left, right;
};

class CellFinder {
public:
    explicit CellFinder(const LineInk& line) : m_line(line), m_marks(line.marks) {}

    std::optional<DigitCells> Find() {
        if (!SortBars() || !GatherCells() || !Measure()) return std::nullopt;
        for (const Gathering& gathering : m_gathered) {
            const std::optional<char> digit = Decode(gathering);
            if (!digit) return std::nullopt;
            m_result.cells.push_back({gathering.centre, *digit});
        }
        return std::move(m_result);
    }

private:
    const LineInk& m_line;
    const std::vector<Mark>& m_marks;
    std::vector<int> m_across, m_down;
    std::vector<Gathering> m_gathered;
    double m_downLength = 0;
    DigitCells m_result;

    const Mark& At(int index) const { return m_marks[static_cast<size_t>(index)]; }

    // The length of one vertical segment: the one most others share, alone or with its
    // neighbour run into it (upper and lower segments touching make one bar twice as long).
    double DownSegmentLength() const {
        double best = 0;
        int bestSupport = 0;
        for (int i : m_down) {
            const double length = At(i).h;
            // A segment is about as long as the horizontal ones; pieces are shorter.
            if (length < kShortest * m_result.barLength) continue;
            int support = 0;
            for (int j : m_down) {
                const double other = At(j).h;
                const bool alone = other >= 0.8 * length && other <= 1.25 * length;
                const bool joined = other >= kShortestJoined * length && other <= kLongestJoined * length;
                support += alone || joined;
            }
            if (support > bestSupport || (support == bestSupport && length > best)) {
                best = length;
                bestSupport = support;
            }
        }
        return best;
    }

    bool SortBars() {
        std::vector<double> thickness;
        for (const Mark& mark : m_marks) {
            if (IsBarShape(mark)) thickness.push_back(mark.Thickness());
        }
        if (thickness.size() < 2) return false;
        m_result.thickness = Median(thickness);
        m_result.used.assign(m_marks.size(), false);
        for (size_t i = 0; i < m_marks.size(); ++i) {
            if (!IsSegmentBar(m_marks[i], m_result.thickness)) continue;
            (IsAcross(m_marks[i]) ? m_across : m_down).push_back(static_cast<int>(i));
        }
        // Every digit lights a vertical segment.
        if (m_down.empty()) return false;
        std::vector<double> widths;
        for (int i : m_across) widths.push_back(At(i).w);
        m_result.barLength = Median(widths);
        m_downLength = DownSegmentLength();
        if (m_result.barLength == 0) m_result.barLength = m_downLength;
        // The segments of a display are of a length; a short stroke is a comma's or a sign's,
        // a long one a frame's or an underline.
        std::erase_if(m_down, [&](int i) {
            return At(i).h < kShortest * m_downLength || At(i).h > kLongestJoined * m_downLength;
        });
        std::erase_if(m_across, [&](int i) {
            return At(i).w < kShortest * m_result.barLength ||
                   At(i).w > kLongestAcross * m_result.barLength;
        });
        return !m_down.empty();
    }

    // Horizontal segments stacked over one another make a cell; vertical ones join the cell at
    // whose side they stand, and those at no cell's side are 1s (the right-hand pair alone).
    bool GatherCells() {
        const double t = m_result.thickness;
        std::sort(m_across.begin(), m_across.end(),
                  [&](int a, int b) { return At(a).CentreX() < At(b).CentreX(); });
        for (int i : m_across) {
            const double centre = At(i).CentreX();
            if (m_gathered.empty() ||
                centre - m_gathered.back().centre > std::max(t, 0.15 * m_result.barLength)) {
                m_gathered.push_back({centre, {}, {}, {}});
            }
            m_gathered.back().across.push_back(i);
        }
        const double side = m_result.barLength / 2 + t / 2;
        const double reach = std::max(1.5 * t, 0.25 * m_result.barLength);
        std::vector<int> ones;
        const size_t lettered = m_gathered.size();
        for (int i : m_down) {
            const double x = At(i).CentreX();
            Gathering* nearest = nullptr;
            bool leftSide = false;
            double distance = reach;
            for (size_t c = 0; c < lettered; ++c) {
                for (bool left : {true, false}) {
                    const double d = std::abs(x - (m_gathered[c].centre + (left ? -side : side)));
                    if (d <= distance) {
                        distance = d;
                        nearest = &m_gathered[c];
                        leftSide = left;
                    }
                }
            }
            if (!nearest) {
                ones.push_back(i);
                continue;
            }
            (leftSide ? nearest->left : nearest->right).push_back(i);
        }
        std::sort(ones.begin(), ones.end(),
                  [&](int a, int b) { return At(a).CentreX() < At(b).CentreX(); });
        for (int i : ones) {
            const double x = At(i).CentreX();
            if (m_gathered.size() == lettered ||
                x - At(m_gathered.back().right.front()).CentreX() > t) {
                m_gathered.push_back({x - side, {}, {}, {}});
            }
            m_gathered.back().right.push_back(i);
        }
        // Every digit lights a vertical segment: horizontal strokes alone are a label's.
        std::erase_if(m_gathered, [](const Gathering& cell) {
            return cell.left.empty() && cell.right.empty();
        });
        if (m_gathered.empty()) return false;
        for (const Gathering& cell : m_gathered) {
            for (const auto* group : {&cell.across, &cell.left, &cell.right}) {
                for (int i : *group) m_result.used[static_cast<size_t>(i)] = true;
            }
        }
        return true;
    }

    // The measures all cells share: where the vertical segments stand beside a cell's middle,
    // and the band from the top segments to the bottom ones.
    bool Measure() {
        const double t = m_result.thickness;
        std::vector<double> lefts, rights;
        for (const Gathering& cell : m_gathered) {
            for (int i : cell.left) lefts.push_back(cell.centre - At(i).CentreX());
            for (int i : cell.right) rights.push_back(At(i).CentreX() - cell.centre);
        }
        const double side = m_result.barLength / 2 + t / 2;
        m_result.leftSide = lefts.empty() ? side : Median(lefts);
        m_result.rightSide = rights.empty() ? side : Median(rights);
        for (Gathering& cell : m_gathered) {
            if (cell.across.empty() && cell.left.empty()) {
                cell.centre = At(cell.right.front()).CentreX() - m_result.rightSide;
            }
        }
        std::sort(m_gathered.begin(), m_gathered.end(),
                  [](const Gathering& a, const Gathering& b) { return a.centre < b.centre; });
        double top = 1e9, bottom = -1e9;
        for (size_t i = 0; i < m_marks.size(); ++i) {
            if (!m_result.used[i]) continue;
            top = std::min(top, static_cast<double>(m_marks[i].y));
            bottom = std::max(bottom, static_cast<double>(m_marks[i].Bottom()));
        }
        m_result.top = top;
        m_result.bottom = bottom;
        double acrossFoot = -1e9;
        for (const Gathering& cell : m_gathered) {
            for (int i : cell.across) {
                acrossFoot = std::max(acrossFoot, static_cast<double>(At(i).Bottom()));
            }
        }
        m_result.footLine = acrossFoot >= bottom - t / 2 ? bottom : bottom + t / 2;
        const double height = bottom - top;
        // Seven-segment digits are taller than wide, their verticals half as tall as the cell.
        if (height < 4 * t || height < 1.3 * m_result.barLength) return false;
        if (m_downLength < 0.3 * height || m_downLength > 0.62 * height) return false;
        // Cells stand side by side, never over one another.
        const double width = m_result.leftSide + m_result.rightSide;
        for (size_t c = 1; c < m_gathered.size(); ++c) {
            if (m_gathered[c].centre - m_gathered[c - 1].centre < 0.9 * width) return false;
        }
        return true;
    }

    std::optional<unsigned> AcrossPosition(const Mark& bar) const {
        const double height = m_result.Height();
        const double middle = (m_result.top + m_result.bottom) / 2;
        if (bar.w < 0.6 * m_result.barLength || bar.w > 1.35 * m_result.barLength) return {};
        const double y = bar.CentreY();
        if (y < m_result.top + height / 4) return kTop;
        if (y > m_result.bottom - height / 4) return kBottom;
        if (std::abs(y - middle) <= height / 8) return kMiddle;
        return {};
    }

    // Both vertical segments of a side where they ran together into one bar, which only a cell
    // with horizontal segments tells from a letter's upright stroke.
    std::optional<unsigned> DownPositions(const Mark& bar, bool left, bool lettered) const {
        const double height = m_result.Height();
        const double middle = (m_result.top + m_result.bottom) / 2;
        const double t = m_result.thickness;
        const unsigned upper = left ? kUpperLeft : kUpperRight;
        const unsigned lower = left ? kLowerLeft : kLowerRight;
        if (lettered && bar.h >= 0.8 * height) return upper | lower;
        if (bar.h < 0.3 * height || bar.h > 0.62 * height) return {};
        if (bar.CentreY() < middle) {
            if (bar.Bottom() > middle + t) return {};
            return upper;
        }
        if (bar.y < middle - t) return {};
        return lower;
    }

    // Where the segment at `position` of the cell would be, as a box.
    std::array<int, 4> SegmentBox(const Gathering& cell, unsigned position) const {
        const double t = m_result.thickness;
        const double middle = (m_result.top + m_result.bottom) / 2;
        const double quarter = m_result.Height() / 4;
        double x = cell.centre, y = middle;
        const bool across = position == kTop || position == kMiddle || position == kBottom;
        if (position == kTop) y = m_result.top + t / 2;
        if (position == kBottom) y = m_result.bottom - t / 2;
        if (position == kUpperLeft || position == kLowerLeft) x -= m_result.leftSide;
        if (position == kUpperRight || position == kLowerRight) x += m_result.rightSide;
        if (position == kUpperLeft || position == kUpperRight) y = middle - quarter;
        if (position == kLowerLeft || position == kLowerRight) y = middle + quarter;
        const double w = across ? m_result.barLength / 2 : t;
        const double h = across ? t : quarter;
        return {static_cast<int>(std::lround(x - w / 2)), static_cast<int>(std::lround(y - h / 2)),
                static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h))};
    }

    std::optional<char> Decode(const Gathering& cell) const {
        const bool lettered = !cell.across.empty();
        unsigned lit = 0;
        const auto light = [&](std::optional<unsigned> position) {
            if (!position || (lit & *position) != 0) return false;
            lit |= *position;
            return true;
        };
        for (int i : cell.across) {
            if (!light(AcrossPosition(At(i)))) return std::nullopt;
        }
        for (int i : cell.left) {
            if (!light(DownPositions(At(i), true, lettered))) return std::nullopt;
        }
        for (int i : cell.right) {
            if (!light(DownPositions(At(i), false, lettered))) return std::nullopt;
        }
        const std::optional<char> digit = DigitLitBy(lit);
        if (!digit) return std::nullopt;
        for (unsigned position = kTop; position <= kMiddle; position <<= 1) {
            if (lit & position) continue;
            const auto [x, y, w, h] = SegmentBox(cell, position);
            if (InkShare(m_line.ink.get(), x, y, w, h) > kUnlitInk) return std::nullopt;
        }
        return digit;
    }
};

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<long>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

std::optional<char> DigitLitBy(unsigned lit) {
    // Displays draw the 7 with or without its upper left segment; any other set is no digit.
    constexpr std::array<std::pair<unsigned, char>, 11> kPatterns = {{
        {0x3F, '0'},
        {0x06, '1'},
        {0x5B, '2'},
        {0x4F, '3'},
        {0x66, '4'},
        {0x6D, '5'},
        {0x7D, '6'},
        {0x07, '7'},
        {0x27, '7'},
        {0x7F, '8'},
        {0x6F, '9'},
    }};
    for (const auto& [pattern, digit] : kPatterns) {
        if (pattern == lit) return digit;
    }
    return std::nullopt;
}

bool IsSegmentBar(const Mark& mark, double thickness) {
    return IsBarShape(mark) && mark.Thickness() >= 0.5 * thickness &&
           mark.Thickness() <= 1.8 * thickness;
}

std::optional<DigitCells> FindDigitCells(const LineInk& line) {
    return CellFinder(line).Find();
}

}  // namespace zelvo
