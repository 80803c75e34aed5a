#pragma once

#include <optional>
#include <vector>

#include "recognize/SegmentMarks.h"

namespace zelvo {

// The seven positions of a cell, one bit each.
enum SegmentPosition : unsigned {
    kTop = 1u << 0,
    kUpperRight = 1u << 1,
    kLowerRight = 1u << 2,
    kBottom = 1u << 3,
    kLowerLeft = 1u << 4,
    kUpperLeft = 1u << 5,
    kMiddle = 1u << 6,
};

// The middle value of `values` (the upper of the two middle ones); 0 for none.
double Median(std::vector<double> values);

// The digit that the lit positions show; none for a set that is no digit.
std::optional<char> DigitLitBy(unsigned lit);

// One digit cell of a seven-segment display.
struct DigitCell {
    double centre = 0;  // x of the cell's middle
    char digit = 0;
    // A point run into the digit's foot, read with it.
    bool pointJoined = false;
};

// The digit cells of a display, left to right, and the measures they share.
struct DigitCells {
    std::vector<DigitCell> cells;
    std::vector<bool> used;  // per mark of the line: a segment of some cell
    double thickness = 0;    // of a segment
    double top = 0, bottom = 0;
    // Where a point's foot stands: the bottom segments' foot. Displays mitre the verticals'
    // ends, so on a line without a bottom segment (1, 4, 7) it is half a segment below them.
    double footLine = 0;
    double barLength = 0;                // of a horizontal segment
    double leftSide = 0, rightSide = 0;  // from a cell's middle to its vertical segments

    double Height() const { return bottom - top; }
    double Left(const DigitCell& cell) const { return cell.centre - leftSide - thickness / 2; }
    double Right(const DigitCell& cell) const { return cell.centre + rightSide + thickness / 2; }
};

// Groups the bar-shaped marks of the line into digit cells of one height and decodes each into
// its digit. None when there are no such cells, or when a cell's lit segments are not exactly
// one digit's, or a segment shows ink where its cell's digit has it dark.
std::optional<DigitCells> FindDigitCells(const LineInk& line);

// Whether the mark is a straight, well-filled stroke of about the segments' thickness.
bool IsSegmentBar(const Mark& mark, double thickness);

}  // namespace zelvo
