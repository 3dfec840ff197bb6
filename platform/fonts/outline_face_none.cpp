// Outline faces where the system's fonts are not listed by fontconfig: none opens, and text is
// drawn with the toolkit's own font engines (on Windows those make no fontconfig match, so they
// cost little to make).
#include "platform/fonts/outline_face.h"

namespace quintrel {

std::unique_ptr<OutlineFace> openOutlineFace(const QString& /*family*/, int /*weight*/,
                                             bool /*italic*/) {
    return nullptr;
}

}  // namespace quintrel
