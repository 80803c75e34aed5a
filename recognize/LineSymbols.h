#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvo {

// One recognised character and where it stands in the image. A digit the recogniser doubted
// is "?".
struct Symbol {
    std::string text;  // UTF-8
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool startsWord = false;
};

// The symbols [begin, end) that make up the amount's number.
struct NumberRun {
    size_t begin = 0;
    size_t end = 0;
};

// The line as the recogniser gave it: words separated by one space.
std::string LineText(const std::vector<Symbol>& symbols);

// The run of digits, doubted digits and points that holds the most digits; words join a run
// only beside a point ("337 .95"). None without a digit.
std::optional<NumberRun> FindNumberRun(const std::vector<Symbol>& symbols);

// The line, with a currency sign the recogniser took for a letter or another sign ("£", "V",
// "W", "$" for "¥") glued to the number written as "¥" and set apart from it, so that the
// amount rules take it for the sign it is. Anything else glued to the number stays, and
// leaves the amount in doubt.
std::string LineWithSignApart(const std::vector<Symbol>& symbols);

// Other views' readings of a doubtful line, given as LineText: the digits each gives where the
// line has "?".
class ViewVotes {
public:
    explicit ViewVotes(std::string line);

    // False when the view reads another digit or point where both it and the line are sure:
    // the line is then in doubt. A view of another length tells nothing.
    bool Add(const std::string& view);

    // The line with each doubtful digit that the views give, when no two of them differ.
    std::string Settled() const;

private:
    std::string m_line;
    std::vector<std::string> m_votes;
};

// The symbols with the digits that `line` (their LineText, settled) gives for their "?".
std::vector<Symbol> WithDoubtsSettled(std::vector<Symbol> symbols, const std::string& line);

}  // namespace zelvo
