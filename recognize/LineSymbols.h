#pragma once

#include <optional>
#include <string>
#include <string_view>
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
    // A "?" whose rival is the currency sign: it may be the sign, not a digit of the amount.
    bool maybeSign = false;
    // For a "?": the digits it may be, when known.
    std::string candidates;
    // A "?" whose box holds no glyph of its own (punctuation read as a digit, a box on its
    // neighbour's glyph): what another view reads there settles nothing.
    bool withoutGlyph = false;
    // A "?" whose glyph ran into its neighbour's: no view parts the two characters better.
    bool runTogether = false;

    int Middle() const { return (left + right) / 2; }
    // No glyph the recogniser reads is boxed this narrow; a point is wider once scaled for it.
    bool BoxedASliver() const { return right - left <= 2; }
};

// Makes the symbol a doubt that no other view settles: nothing read of its glyph can be trusted.
void Unreadable(Symbol& symbol);

// A recognised symbol that is one digit; one that is a decimal point or separator.
bool IsDigitSymbol(std::string_view text);
bool IsPointSymbol(std::string_view text);
// A digit or a doubtful one ("?"); one of those or a point.
bool CountsAsDigit(std::string_view text);
bool IsNumberLike(std::string_view text);
// "¥" or "￥" as read.
bool IsYenSign(std::string_view text);
// Those, or what the recogniser gives for them when it fails to read them: marks no digit is
// ever read as.
bool MayBeCurrencySign(std::string_view text);
// A Latin letter.
bool IsLatinLetter(std::string_view text);

// Where a set of symbols stands in the line image.
struct SymbolBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The box around the symbols that `picked` chooses; none when it chooses none.
std::optional<SymbolBox> BoxAround(const std::vector<Symbol>& symbols,
                                   bool (*picked)(const Symbol&));

// Each box that reaches past the middle of the next symbol's box cut off where that box starts:
// the recogniser sometimes stretches a glyph's box over its neighbours ("3" over the "元" after
// it), which would count their strokes as the glyph's.
void CutBoxesAtTheNextSymbol(std::vector<Symbol>& symbols);

// Each box that holds the box before it (starting no further in than a quarter of its width) and
// reaches past it started where that box ends: the recogniser often boxes a glyph from where the
// glyph before it starts ("0" 79-127 after "5" 78-103), which puts the box's middle on that
// glyph. A box that starts further in is the one glyph read twice, a box before it a sliver
// wide tells nothing of where its glyph starts, and a box after a doubt run into its glyph does
// start where that doubt does; those stay.
void StartBoxesAfterTheSymbolBefore(std::vector<Symbol>& symbols);

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

// Readings of other views of a doubtful line (the image scaled by `scale`), matched to the
// line's symbols one to one when they read as many, else by where they stand: what each view
// reads at the place of each doubtful one.
class ViewVotes {
public:
    explicit ViewVotes(std::vector<Symbol> line);

    // False when the view reads another digit where the line read a digit for sure, or a doubt
    // among other digits only: the line is then in doubt.
    bool Add(const std::vector<Symbol>& view, float scale);

    // The line with each doubtful symbol that the views read alike, as a digit or as the
    // currency sign, settled; the others stay "?". A symbol that may be the sign is settled
    // only as the sign: a digit read there may still be the sign; one with candidates only as
    // one of them.
    std::vector<Symbol> Settled() const;

private:
    std::vector<Symbol> m_line;
    std::vector<std::vector<std::string>> m_votes;
};

}  // namespace zelvo
