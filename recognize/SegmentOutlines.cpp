#include "recognize/SegmentOutlines.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <leptonica/allheaders.h>

namespace zelvo {
namespace {

// A segment's line is looked for this many thicknesses in from its side of the box.
constexpr double kBand = 1.5;
// A side is lit when this share of it holds its line, bare when no more than the other share.
constexpr double kLit = 0.8;
constexpr double kBare = 0.2;
// The windows between the bars hold no more ink than this share: an outline, not a glyph.
constexpr double kHollow = 0.05;
// A digit's outline is at least this share of its height wide; a 1 is one upright line.
constexpr double kWidest = 1.2;
constexpr double kNarrowest = 0.45;
// Cells of one display stand in one row, their tops and feet no further apart than this many
// thicknesses; the digits other than 1 are as wide as each other to a pixel or two.
constexpr double kSameSize = 1.5;
constexpr double kSameWidth = 2.0;
constexpr double kSameWidthShare = 0.6;
// A digit without left segments (3, 7) ends where its bars do, short of the left segments'
// place by up to this many thicknesses.
constexpr double kOpenLeft = 1.5;
// A point run into a digit's foot stands no higher than this many thicknesses, and reaches no
// further right than this many past the digit.
constexpr double kPointRows = 2.0;
constexpr double kPointColumns = 3.0;

bool OpenOnTheLeft(char digit) {
    return digit == '3' || digit == '7';
}

class Outlines {
public:
    explicit Outlines(const LineInk& line)
        : m_line(line),
          m_data(pixGetData(line.ink.get())),
          m_wpl(pixGetWpl(line.ink.get())),
          m_width(pixGetWidth(line.ink.get())),
          m_height(pixGetHeight(line.ink.get())) {}

    std::optional<DigitCells> Find() {
        std::vector<Cluster> clusters = Clusters();
        if (clusters.empty() || m_thickness < 1) return std::nullopt;
        // The outlines that read as digits other than 1 give the cells' size; those of 3 and 7
        // only on a line of nothing else.
        std::vector<double> widths, openWidths, tops, bottoms;
        for (const Cluster& cluster : clusters) {
            const Mark& box = cluster.box;
            if (box.w < kNarrowest * box.h || !cluster.digit) continue;
            (OpenOnTheLeft(*cluster.digit) ? openWidths : widths).push_back(box.w);
            tops.push_back(box.y);
            bottoms.push_back(box.Bottom());
        }
        if (widths.empty()) widths = openWidths;
        if (widths.empty()) return std::nullopt;
        const double t = m_thickness;
        const double width = Median(widths);
        DigitCells result;
        result.thickness = t;
        result.top = Median(tops);
        result.bottom = Median(bottoms);
        result.footLine = result.bottom;
        result.leftSide = result.rightSide = width / 2 - t / 2;
        result.barLength = width - 2 * t;
        result.used.assign(m_line.marks.size(), false);
        const double sameWidth = std::max(kSameWidth, kSameWidthShare * t);
        for (Cluster& cluster : clusters) {
            if (!cluster.digit) cluster.digit = DigitOfRow(cluster.box, result);
        }
        for (const Cluster& cluster : clusters) {
            const Mark& box = cluster.box;
            const bool sameRow = std::abs(box.y - result.top) <= kSameSize * t &&
                                 std::abs(box.Bottom() - result.bottom) <= kSameSize * t;
            // A digit without a top or bottom bar (4, 7) stands shorter than the row.
            const bool withinRow = box.y >= result.top - kSameSize * t &&
                                   box.Bottom() <= result.bottom + kSameSize * t;
            if (!sameRow && !(withinRow && cluster.digit)) continue;
            std::optional<DigitCell> cell;
            if (IsOne(box)) {
                // A 1 lights the right-hand segments of its cell.
                cell = DigitCell{box.Right() - width / 2, '1'};
            } else if (cluster.digit && OpenOnTheLeft(*cluster.digit) &&
                       box.w <= width + sameWidth && box.w >= width - sameWidth - kOpenLeft * t) {
                cell = DigitCell{box.Right() - width / 2, *cluster.digit};
            } else if (std::abs(box.w - width) <= sameWidth) {
                // A point run into a digit's foot widens it: not read so, the point is lost.
                if (cluster.digit) cell = DigitCell{box.CentreX(), *cluster.digit};
            }
            if (cell) cell->pointJoined = cluster.pointJoined;
            // A character of the cells' size that is no outline: the line is text, whose round
            // 0s and 8s alone read as outlines ("88" of "2734.88").
            const bool cellSized = std::abs(box.w - width) <= kSameSize * t;
            if (!cell && cellSized) return std::nullopt;
            if (!cell) continue;
            result.cells.push_back(*cell);
            for (size_t i : cluster.marks) result.used[i] = true;
        }
        std::sort(result.cells.begin(), result.cells.end(),
                  [](const DigitCell& a, const DigitCell& b) { return a.centre < b.centre; });
        // Cells stand a digit's width apart; one standing in another's box is part of it.
        for (size_t c = 0; c + 1 < result.cells.size(); ++c) {
            if (result.cells[c + 1].centre - result.cells[c].centre < width) return std::nullopt;
        }
        return result;
    }

private:
    // Marks that stand one over another: the pieces of one character, and the digit its
    // outline shows.
    struct Cluster {
        Mark box;
        std::vector<size_t> marks;
        std::optional<char> digit;
        bool pointJoined = false;
    };

    const LineInk& m_line;
    const l_uint32* m_data;
    int m_wpl, m_width, m_height;
    double m_thickness = 0;

    bool Inked(int x, int y) const {
        return x >= 0 && y >= 0 && x < m_width && y < m_height &&
               GET_DATA_BIT(m_data + y * m_wpl, x);
    }

    // The strokes of the line (no points or specks), grouped by the columns they share, left to
    // right; measures the strokes' thickness on the way.
    std::vector<Cluster> Clusters() {
        int tallest = 0;
        for (const Mark& mark : m_line.marks) {
            if (mark.w <= 3 * mark.h) tallest = std::max(tallest, mark.h);
        }
        std::vector<size_t> strokes;
        for (size_t i = 0; i < m_line.marks.size(); ++i) {
            if (m_line.marks[i].Length() * 4 >= tallest) strokes.push_back(i);
        }
        m_thickness = Thickness(strokes);
        std::sort(strokes.begin(), strokes.end(),
                  [&](size_t a, size_t b) { return m_line.marks[a].x < m_line.marks[b].x; });
        std::vector<Cluster> clusters;
        for (size_t i : strokes) {
            const Mark& mark = m_line.marks[i];
            if (!clusters.empty() && mark.x < clusters.back().box.Right()) {
                Mark& box = clusters.back().box;
                const int right = std::max(box.Right(), mark.Right());
                const int bottom = std::max(box.Bottom(), mark.Bottom());
                box.x = std::min(box.x, mark.x);
                box.y = std::min(box.y, mark.y);
                box.w = right - box.x;
                box.h = bottom - box.y;
                box.area += mark.area;
                clusters.back().marks.push_back(i);
            } else {
                clusters.push_back({mark, {i}});
            }
        }
        std::vector<Cluster> tall;
        for (Cluster& cluster : clusters) {
            const Mark& box = cluster.box;
            if (box.h * 2 < tallest || box.w > kWidest * box.h) continue;
            cluster.digit = DigitOf(cluster.box);
            // Only an outline that is a digit without the point has one run into its foot.
            if (const int point = JoinedPointColumns(cluster.box); point && !cluster.digit) {
                Mark digit = cluster.box;
                digit.w -= point;
                if ((cluster.digit = DigitOf(digit))) {
                    cluster.box = digit;
                    cluster.pointJoined = true;
                }
            }
            tall.push_back(cluster);
        }
        return tall;
    }

    // The strokes' thickness: the runs of ink across them.
    double Thickness(const std::vector<size_t>& strokes) const {
        std::vector<double> runs;
        const auto count = [&](int x, int y, int dx, int dy, int steps) {
            int run = 0;
            for (int s = 0; s <= steps; ++s, x += dx, y += dy) {
                if (Inked(x, y)) {
                    ++run;
                } else if (run > 0) {
                    runs.push_back(run);
                    run = 0;
                }
            }
            if (run > 0) runs.push_back(run);
        };
        for (size_t i : strokes) {
            const Mark& mark = m_line.marks[i];
            for (int k = 1; k <= 3; ++k) {
                count(mark.x, mark.y + k * mark.h / 4, 1, 0, mark.w);
                count(mark.x + k * mark.w / 4, mark.y, 0, 1, mark.h);
            }
        }
        return Median(runs);
    }

    int Band() const { return std::max(2, static_cast<int>(std::lround(kBand * m_thickness))); }

    // The share of columns [x0, x1) holding ink in rows [y0, y1), or with `rows`, the share of
    // those rows holding ink in those columns.
    double LinesInked(int x0, int x1, int y0, int y1, bool rows = false) const {
        const int lines = rows ? y1 - y0 : x1 - x0;
        const int depth = rows ? x1 - x0 : y1 - y0;
        if (lines <= 0 || depth <= 0) return 0;
        int inked = 0;
        for (int line = 0; line < lines; ++line) {
            for (int step = 0; step < depth; ++step) {
                if (rows ? Inked(x0 + step, y0 + line) : Inked(x0 + line, y0 + step)) {
                    ++inked;
                    break;
                }
            }
        }
        return static_cast<double>(inked) / lines;
    }

    // Whether a mark stands inside the box, clear of its sides and bars: the amount in a frame.
    bool HoldsAnotherMark(const Mark& box) const {
        const int band = Band();
        return std::any_of(m_line.marks.begin(), m_line.marks.end(), [&](const Mark& mark) {
            return mark.x >= box.x + band && mark.y >= box.y + band &&
                   mark.Right() <= box.Right() - band && mark.Bottom() <= box.Bottom() - band;
        });
    }

    // One upright line as tall as the cell, inked nearly all along.
    bool IsOne(const Mark& box) const {
        return box.w <= kSameSize * m_thickness + 1 && box.w * 2 >= m_thickness &&
               LinesInked(box.x, box.Right(), box.y, box.Bottom(), true) >= kLit;
    }

    // A digit without a top or bottom bar (4, 7) ends short of the cells' top or foot by the
    // bar's place: read within the cells' row, as far as that.
    std::optional<char> DigitOfRow(const Mark& box, const DigitCells& row) const {
        const double t = m_thickness;
        const bool withinRow = box.y >= row.top - t / 2 && box.Bottom() <= row.bottom + t / 2;
        const bool shorter = box.y > row.top + t / 4 || box.Bottom() < row.bottom - t / 4;
        if (!withinRow || !shorter || box.y > row.top + 2 * t ||
            box.Bottom() < row.bottom - 2 * t) {
            return std::nullopt;
        }
        Mark extended = box;
        extended.y = static_cast<int>(std::lround(row.top));
        extended.h = static_cast<int>(std::lround(row.bottom)) - extended.y;
        return DigitOf(extended);
    }

    // How many columns at the right of the box hold ink only on its foot, no higher than a
    // point: a point run into the digit's foot, as displays drawn small and hard-edged join
    // them. No digit's right side is bare above its foot. 0 for none.
    int JoinedPointColumns(const Mark& box) const {
        const double t = m_thickness;
        const int pointRows = static_cast<int>(std::lround(kPointRows * t));
        if (box.h <= 2 * pointRows) return 0;
        int columns = 0;
        for (int x = box.Right() - 1; x > box.x; --x, ++columns) {
            if (LinesInked(x, x + 1, box.y, box.Bottom() - pointRows) > 0) break;
        }
        const bool pointWide = columns >= t / 2 && columns <= kPointColumns * t;
        return pointWide ? columns : 0;
    }

    std::optional<char> DigitOf(const Mark& mark) const {
        const int band = Band();
        const int x0 = mark.x, x1 = mark.Right(), y0 = mark.y, y1 = mark.Bottom();
        const int middle = y0 + mark.h / 2;
        const int upperEnd = middle - band / 2, lowerStart = upperEnd + band;
        if (x1 - x0 < 3 * band || upperEnd - y0 < 2 * band || y1 - lowerStart < 2 * band) {
            return std::nullopt;
        }
        const struct {
            double share;
            unsigned position;
        } sides[] = {
            {LinesInked(x0 + band, x1 - band, y0, y0 + band), kTop},
            {LinesInked(x0 + band, x1 - band, upperEnd, lowerStart), kMiddle},
            {LinesInked(x0 + band, x1 - band, y1 - band, y1), kBottom},
            {LinesInked(x0, x0 + band, y0 + band, upperEnd, true), kUpperLeft},
            {LinesInked(x0, x0 + band, lowerStart, y1 - band, true), kLowerLeft},
            {LinesInked(x1 - band, x1, y0 + band, upperEnd, true), kUpperRight},
            {LinesInked(x1 - band, x1, lowerStart, y1 - band, true), kLowerRight},
        };
        unsigned lit = 0;
        for (const auto& side : sides) {
            if (side.share >= kLit) {
                lit |= side.position;
            } else if (side.share > kBare) {
                return std::nullopt;
            }
        }
        // A frame around the amount is an outline too, with the amount inside it.
        const int inner = x1 - x0 - 2 * band;
        Pix* ink = m_line.ink.get();
        const bool hollow =
            InkShare(ink, x0 + band, y0 + band, inner, upperEnd - y0 - band) <= kHollow &&
            InkShare(ink, x0 + band, lowerStart, inner, y1 - band - lowerStart) <= kHollow &&
            !HoldsAnotherMark(mark);
        if (!hollow) return std::nullopt;
        return DigitLitBy(lit);
    }
};

}  // namespace

std::optional<DigitCells> FindOutlinedDigitCells(const LineInk& line) {
    std::optional<DigitCells> cells = Outlines(line).Find();
    if (!cells || cells->cells.empty()) return std::nullopt;
    return cells;
}

}  // namespace zelvo
