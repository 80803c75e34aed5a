#include <gtest/gtest.h>

#include <leptonica/allheaders.h>

#include "recognize/LeptonicaHandles.h"
#include "recognize/SliverBoxes.h"

namespace zelvo {
namespace {

// A line's ink (one bit, set on the text) with glyphs 20 wide and 30 high at the given columns.
PixPtr InkWithGlyphsAt(std::initializer_list<int> lefts) {
    PixPtr ink(pixCreate(300, 60, 1));
    for (const int left : lefts) pixRasterop(ink.get(), left, 15, 20, 30, PIX_SET, nullptr, 0, 0);
    return ink;
}

Symbol Boxed(const char* text, int left, int right) {
    return Symbol{text, left, 15, right, 45};
}

TEST(SliverBoxes, ABoxOnTheNextCharactersEdgeMovesOntoTheGlyphItLeftUnread) {
    // "¥43": the sign boxed as a sliver at the 4's left edge, its own glyph in no box.
    const PixPtr ink = InkWithGlyphsAt({20, 60, 90});
    const std::vector<Symbol> placed = WithSliversOnTheirGlyphs(
        {Boxed("\u00A5", 60, 61), Boxed("4", 60, 80), Boxed("3", 90, 110)}, ink.get());
    EXPECT_EQ(placed[0].left, 20);
    EXPECT_EQ(placed[0].right, 40);
    EXPECT_EQ(placed[1].left, 60);
}

TEST(SliverBoxes, ASliverStaysWhereNoSingleUnreadGlyphIsItsOwn) {
    // Two glyphs in the gap: which one it read is not known.
    const PixPtr two = InkWithGlyphsAt({10, 40, 90});
    EXPECT_EQ(
        WithSliversOnTheirGlyphs({Boxed("1", 90, 91), Boxed("4", 90, 110)}, two.get())[0].left, 90);
    // The glyph in the gap is the symbol's before: nothing is left unread.
    const PixPtr read = InkWithGlyphsAt({20, 60});
    EXPECT_EQ(WithSliversOnTheirGlyphs({Boxed("2", 18, 42), Boxed("1", 60, 61), Boxed("4", 60, 80)},
                                       read.get())[1]
                  .left,
              60);
    // No glyph in the gap at all (a phantom).
    const PixPtr none = InkWithGlyphsAt({60});
    EXPECT_EQ(
        WithSliversOnTheirGlyphs({Boxed("1", 60, 61), Boxed("4", 60, 80)}, none.get())[0].left, 60);
}

}  // namespace
}  // namespace zelvo
