#pragma once

#include "core/text_page.h"

#include <cstdint>
#include <vector>

namespace omra {

// Prepares the text pages once, in scene set-up: the glyph atlas and the text mesh, each page's
// width and line count, the text program with its fixed uniforms, and the first page as the
// current one (none when there are no pages).
void setUpTextPages(std::int32_t viewportWidth, std::int32_t viewportHeight,
                    std::vector<TextPage>& pages);

// Draws a page on the rippling sheet, its lines starting at window x `left` and centred
// vertically, blended over what the window shows. One upload and one draw per glyph, whether or
// not it is in view.
void drawTextPage(const TextPage& page, std::int32_t left, float sceneTime);

} // namespace omra
