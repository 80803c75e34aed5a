#include "recognize/SegmentDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "recognize/ImageCleaning.h"
#include "recognize/ImageFile.h"
#include "recognize/SegmentCells.h"
#include "recognize/SegmentMarks.h"
#include "recognize/SegmentOutlines.h"

namespace zelvo {
namespace {

// A cell's right edge lies this much further from the next one's where a point stands between
// them in a display that gives its points room of their own.
constexpr double kWiderPitchAtPoint = 1.8;
constexpr double kPitchTolerance = 1.15;
// A square mark hanging below the cells' foot by up to this many thicknesses may be a point or
// a comma; the digits after it tell which.
constexpr double kHangingEither = 1.5;
constexpr char kEitherSeparator = '~';
// Ink in a gap on the cells' foot, as a share of the segments' contrast with the ground, that
// is a point too pale to be binarised, and that may be one.
constexpr double kFaintPoint = 0.33;
constexpr double kMaybeAPoint = 0.15;
// Left of the first cell, how far (in digit widths) a digit the cells missed may stand, and how
// near the cells' top (in cell heights) its segments reach.
constexpr double kNextDigit = 1.6;
constexpr double kTopZone = 0.12;
// Segments that touch at their corners come apart when the ink is opened by a brick this size.
constexpr int kThinning = 3;
constexpr size_t kMostMarks = 300;
// The written picture (with the cleaning's quiet border): little enough loss that the gaps
// between segments stay clear.
constexpr int kJpegQuality = 100;

// The number a display shows, and the points read where the ink shows none, too pale to be
// binarised: a picture written from the ink must show them.
struct DisplayNumber {
    std::string text;
    std::vector<Mark> palePoints;
};

// Judges the marks of the line that are no segment of a digit cell.
class NumberReader {
public:
    NumberReader(const LineInk& line, const DigitCells& cells)
        : m_line(line), m_cells(cells), m_marksAfter(cells.cells.size(), 0) {
        for (size_t c = 0; c < cells.cells.size(); ++c) {
            if (cells.cells[c].pointJoined) m_marksAfter[c] = '.';
        }
    }

    std::optional<DisplayNumber> Read() {
        const double t = m_cells.thickness;
        const double firstLeft = m_cells.Left(m_cells.cells.front());
        const double lastRight = m_cells.Right(m_cells.cells.back());
        for (size_t i = 0; i < m_line.marks.size(); ++i) {
            const Mark& mark = m_line.marks[i];
            if (m_cells.used[i] || IsAwayFromDigits(mark)) continue;
            // A speck is no stroke, unless it stands where a point would, in a gap below the
            // cells' top quarter (a raised point too): then the number is in doubt. What is
            // left of a field's frame where digits touched it stands at their top.
            const bool wherePointsStand =
                GapAfter(mark) && mark.Bottom() > m_cells.top + m_cells.Height() / 4;
            if (mark.Length() < 0.4 * t && !wherePointsStand) continue;
            if (mark.Right() <= firstLeft + t / 2) {
                // A label or currency sign; but a digit the cells missed would cut the amount.
                if (MayBeADigit(mark, true)) return std::nullopt;
                continue;
            }
            if (mark.x >= lastRight - t / 2) {
                // A unit ("元"); but a point or a digit after the cells would lengthen the
                // amount, wherever it stands.
                if (PointKind(mark) || MayBeADigit(mark, false)) return std::nullopt;
                continue;
            }
            const std::optional<char> kind = PointKind(mark);
            const std::optional<size_t> gap = GapAfter(mark);
            if (!kind || !gap || m_marksAfter[*gap]) return std::nullopt;
            m_marksAfter[*gap] = *kind;
        }
        // A point after the last digit belongs to no amount.
        if (m_marksAfter.back()) return std::nullopt;
        if (!ReadFaintPoints()) return std::nullopt;
        if (!PitchHolds()) return std::nullopt;
        DisplayNumber number{{}, std::move(m_palePoints)};
        for (size_t c = 0; c < m_cells.cells.size(); ++c) {
            number.text += m_cells.cells[c].digit;
            if (m_marksAfter[c]) number.text += Separator(c);
        }
        return number;
    }

private:
    const LineInk& m_line;
    const DigitCells& m_cells;
    std::vector<char> m_marksAfter;  // the point or separator after each cell, or 0
    std::vector<Mark> m_palePoints;

    // Another line above or below, an underline, or a frame around the field: beside the
    // digits, not in them.
    bool IsAwayFromDigits(const Mark& mark) const {
        const double t = m_cells.thickness;
        if (mark.Bottom() < m_cells.top - t || mark.y > m_cells.bottom + t) return true;
        // A frame around the digits, or a frame's side beside them: a thin upright line that
        // reaches above and below them.
        const auto& cells = m_cells.cells;
        if (mark.y > m_cells.top || mark.Bottom() < m_cells.bottom) return false;
        const double left = m_cells.Left(cells.front()), right = m_cells.Right(cells.back());
        // A frame's line is thinner than a segment; a digit run into it is no frame's.
        if (mark.x <= left && mark.Right() >= right) {
            return IsHollowFrame(m_line.ink.get(), mark, static_cast<int>(std::ceil(t / 2)) + 1);
        }
        const bool beside = mark.Right() <= left || mark.x >= right;
        return beside && mark.w <= 2 * t && mark.y < m_cells.top - t &&
               mark.Bottom() > m_cells.bottom + t;
    }

    // Whether the mark, before or after the cells, may be a digit they missed. Before them, a
    // digit stands close by; further away, a label's tall character may reach as high.
    bool MayBeADigit(const Mark& mark, bool before) const {
        const double t = m_cells.thickness;
        const bool inBand = mark.y < m_cells.bottom + t && mark.Bottom() > m_cells.top - t;
        if (!inBand) return false;
        const double shortest = 0.5 * std::min(m_cells.barLength, m_cells.Height() / 2);
        const auto bar = [&](const Mark& piece) {
            return IsSegmentBar(piece, t) && piece.Length() >= shortest;
        };
        // A bar alone (a minus, a segment), or one of the two of a 1.
        if (bar(mark)) {
            const long others = OthersInItsColumns(mark, [](const Mark&) { return true; });
            if (others <= 1 && others == OthersInItsColumns(mark, bar)) return true;
        }
        // Segments that ran together reach the cells' top; a currency sign, label or unit in
        // another font stands lower.
        const double digitWidth = m_cells.leftSide + m_cells.rightSide + 2 * t;
        const double left = m_cells.Left(m_cells.cells.front()) - kNextDigit * digitWidth;
        const bool near = !before || mark.Right() > left;
        return near && mark.y <= m_cells.top + std::max(t, kTopZone * m_cells.Height());
    }

    // How many other marks of the kind stand above or below it: none for a segment or a minus
    // sign, one bar for a 1, more for the strokes of a label's character.
    template <typename Kind>
    long OthersInItsColumns(const Mark& bar, Kind kind) const {
        return std::count_if(m_line.marks.begin(), m_line.marks.end(), [&](const Mark& other) {
            const bool beside = other.Right() <= bar.x || other.x >= bar.Right();
            const bool same = other.x == bar.x && other.y == bar.y;
            return !same && !beside && !IsAwayFromDigits(other) && kind(other);
        });
    }

    // '.' for a small square on the segments' foot line, ',' for a small mark hanging below it
    // by more than half a segment's thickness, and kEitherSeparator for a square that hangs
    // a little: drawn small, a comma is nearly square, and displays mitre the foot of a line of
    // 1s, 4s and 7s, so that only how far a mark hangs tells one from the other.
    std::optional<char> PointKind(const Mark& mark) const {
        const double t = m_cells.thickness;
        if (mark.w < 0.5 * t || mark.w > 2.5 * t || mark.h > 4 * t) return {};
        const double hanging = mark.Bottom() - m_cells.footLine;
        const bool thin = mark.h < 0.5 * t;
        const bool square =
            !thin && mark.h <= 2.2 * t && mark.w <= 2 * mark.h && mark.h <= 2 * mark.w;
        // A small pale point's dark core: a flat stroke on the foot line, shorter than a segment.
        const bool core = thin && mark.h >= 2 && mark.w <= 1.5 * t;
        if ((square || core) && std::abs(hanging) <= t / 2) return '.';
        if (square && hanging > 0 && hanging <= kHangingEither * t) return kEitherSeparator;
        if (!thin && hanging > t / 2 && mark.y >= m_cells.footLine - 2.5 * t) return ',';
        return {};
    }

    // The mark after cell `c` as the number shows it. A mark whose shape leaves it open is a
    // thousands separator before three digits and the next mark or the end, else the point:
    // a comma so taken as a point gives three decimals, which no amount has.
    char Separator(size_t c) const {
        if (m_marksAfter[c] != kEitherSeparator) return m_marksAfter[c];
        size_t next = c + 1;
        while (next + 1 < m_cells.cells.size() && !m_marksAfter[next]) ++next;
        return next - c == 3 ? ',' : '.';
    }

    // A point too faint to be ink would shift the decimals were it passed over; ink that may
    // be one leaves them in doubt (false). Faint ink in every gap without a mark is a line
    // along the cells' foot, a blurred frame's, not points.
    bool ReadFaintPoints() {
        const size_t gaps = m_cells.cells.size() - 1;
        std::vector<double> faint(gaps, 0);
        size_t open = 0, inked = 0;
        for (size_t c = 0; c < gaps; ++c) {
            if (m_marksAfter[c]) continue;
            faint[c] = FaintInkAfter(c);
            ++open;
            inked += faint[c] >= kMaybeAPoint;
        }
        if (open > 1 && inked == open) return true;
        for (size_t c = 0; c < gaps; ++c) {
            if (faint[c] >= kFaintPoint) {
                m_marksAfter[c] = kEitherSeparator;
                m_palePoints.push_back(PointInGapAfter(c));
            } else if (faint[c] >= kMaybeAPoint) {
                return false;
            }
        }
        return true;
    }

    // A point's square, a segment thick, on the cells' foot in the middle of the gap after `c`.
    Mark PointInGapAfter(size_t c) const {
        const double middle =
            (m_cells.Right(m_cells.cells[c]) + m_cells.Left(m_cells.cells[c + 1])) / 2;
        const int size = std::max(1, static_cast<int>(std::lround(m_cells.thickness)));
        Mark point;
        point.x = static_cast<int>(std::lround(middle)) - size / 2;
        point.y = static_cast<int>(std::lround(m_cells.footLine)) - size;
        point.w = point.h = size;
        return point;
    }

    // How much darker the middle of the gap after cell `c` is on the cells' foot than above it.
    double FaintInkAfter(size_t c) const {
        const double t = m_cells.thickness;
        const double left = m_cells.Right(m_cells.cells[c]);
        const double right = m_cells.Left(m_cells.cells[c + 1]);
        if (right - left < t) return 0;
        const auto at = [](double v) { return static_cast<int>(std::lround(v)); };
        const double third = (right - left) / 3;
        // Against the lower half above the foot, where the segments beside the gap are the
        // same ones (a 2's lower left) and darken it alike.
        const double lowerHalf = m_cells.top + m_cells.Height() / 2 + t / 2;
        return FaintInkShare(m_line, at(left + third), at(right - third) + 1, at(lowerHalf),
                             at(m_cells.footLine - 1.5 * t), at(m_cells.footLine + t));
    }

    // The cell the mark follows, when it stands in the gap between two cells.
    std::optional<size_t> GapAfter(const Mark& mark) const {
        const double t = m_cells.thickness;
        const double x = mark.CentreX();
        const auto& cells = m_cells.cells;
        for (size_t c = 0; c + 1 < cells.size(); ++c) {
            const double from = cells[c].centre + m_cells.rightSide - t;
            const double to = m_cells.Left(cells[c + 1]) + t;
            if (x > from && x < to) return c;
        }
        return {};
    }

    // The cells of a display stand at one pitch.
    bool PitchHolds() const {
        const auto& cells = m_cells.cells;
        if (cells.size() < 2) return true;
        std::vector<double> steps;
        for (size_t c = 0; c + 1 < cells.size(); ++c) {
            steps.push_back(cells[c + 1].centre - cells[c].centre);
        }
        const double pitch = *std::min_element(steps.begin(), steps.end());
        for (size_t c = 0; c < steps.size(); ++c) {
            const double most = m_marksAfter[c] ? kWiderPitchAtPoint : kPitchTolerance;
            if (steps[c] > most * pitch) return false;
        }
        return true;
    }
};

std::optional<DisplayNumber> ReadNumber(const LineInk& ink) {
    // A total is one short line; a picture full of marks (a whole window, noise) is none, and
    // would cost time matching every mark with every other.
    if (ink.marks.size() > kMostMarks) return std::nullopt;
    std::optional<DigitCells> cells = FindDigitCells(ink);
    // Drawn small, a display's segments run together into one outline per digit.
    if (!cells || cells->cells.empty()) cells = FindOutlinedDigitCells(ink);
    if (!cells || cells->cells.empty()) return std::nullopt;
    return NumberReader(ink, *cells).Read();
}

// Thinning wears away marks smaller than its brick; a point lost so would shift the decimals.
bool KeepsEveryMark(const LineInk& original, const LineInk& thin) {
    return std::all_of(original.marks.begin(), original.marks.end(), [&](const Mark& mark) {
        return std::any_of(thin.marks.begin(), thin.marks.end(),
                           [&](const Mark& part) { return mark.Holds(part); });
    });
}

// Reads the ink as it is, then thinned, should segments touch.
std::optional<DisplayNumber> ReadInk(const LineInk& ink) {
    if (std::optional<DisplayNumber> number = ReadNumber(ink)) return number;
    const std::optional<LineInk> thin = ThinnedInk(ink, kThinning);
    if (!thin || !KeepsEveryMark(ink, *thin)) return std::nullopt;
    return ReadNumber(*thin);
}

struct ReadDisplay {
    LineInk ink;  // the ink it was read from
    DisplayNumber number;
};

std::string DigitsOf(const std::string& number) {
    std::string digits = number;
    std::erase_if(digits, [](char c) { return c == '.' || c == ','; });
    return digits;
}

// Reads the ink's dark core, which keeps narrow gaps between segments open, and the whole ink,
// where thin segments that lose their middles to the core stay whole. A core that lost a mark
// of the whole ink (a small point paler than the segments) is not read; where both read, their
// digits must agree, for a pale segment lost in the core turns an 8 into a 0. The core tells a
// comma from a point better: in the whole ink, a comma's tail may not reach below the segments.
std::optional<ReadDisplay> ReadLine(Pix* line) {
    std::optional<LineInk> whole = FindLineInk(line, false);
    if (!whole) return std::nullopt;
    std::optional<DisplayNumber> wholeNumber = ReadInk(*whole);
    std::optional<LineInk> core = FindLineInk(line, true);
    if (core && KeepsEveryMark(*whole, *core)) {
        if (std::optional<DisplayNumber> number = ReadInk(*core)) {
            if (wholeNumber && DigitsOf(wholeNumber->text) != DigitsOf(number->text)) {
                return std::nullopt;
            }
            return ReadDisplay{std::move(*core), std::move(*number)};
        }
    }
    if (!wholeNumber) return std::nullopt;
    return ReadDisplay{std::move(*whole), std::move(*wholeNumber)};
}

}  // namespace

std::optional<std::string> ReadSegmentNumber(Pix* line) {
    if (!line) return std::nullopt;
    std::optional<ReadDisplay> read = ReadLine(line);
    if (!read) return std::nullopt;
    return std::move(read->number.text);
}

bool WriteSegmentDisplay(const std::string& in, const std::string& out) {
    const PixPtr source = ReadImageFile(in);
    if (!source) return false;
    const std::optional<ReadDisplay> read = ReadLine(source.get());
    if (!read) return false;
    const PixPtr shown(pixCopy(nullptr, read->ink.ink.get()));
    if (!shown) return false;
    for (const Mark& point : read->number.palePoints) {
        Box* box = boxCreate(point.x, point.y, point.w, point.h);
        if (box) pixSetInRect(shown.get(), box);
        boxDestroy(&box);
    }
    const PixPtr framed(pixAddBorder(shown.get(), kQuietBorder, 0));
    const PixPtr written(framed ? pixConvert1To8(nullptr, framed.get(), 255, 0) : nullptr);
    if (!written || pixWriteJpeg(out.c_str(), written.get(), kJpegQuality, 0) != 0) return false;
    // The picture is only of use if it reads as the screen copy did.
    const PixPtr back(pixRead(out.c_str()));
    return back && ReadSegmentNumber(back.get()) == read->number.text;
}

}  // namespace zelvo
