#include "recognize/GlyphTemplates.h"

// The templates the build drew (tools/glyph-templates), linked into the reader so that it never
// runs without them.
__asm__(".section .rodata\n"
        ".balign 16\n"
        "zelvo_glyph_templates_begin:\n"
        ".incbin \"" ZELVO_GLYPH_TEMPLATES "\"\n"
        "zelvo_glyph_templates_end:\n"
        ".previous\n");

extern "C" const unsigned char zelvo_glyph_templates_begin[];
extern "C" const unsigned char zelvo_glyph_templates_end[];

namespace zelvo {

const std::vector<GlyphTemplate>& BuiltInGlyphTemplates() {
    static const std::vector<GlyphTemplate> templates =
        ParseGlyphTemplates(zelvo_glyph_templates_begin,
                            static_cast<size_t>(zelvo_glyph_templates_end -
                                                zelvo_glyph_templates_begin))
            .value_or(std::vector<GlyphTemplate>{});
    return templates;
}

}  // namespace zelvo
