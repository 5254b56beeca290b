#include "core/log_font.h"

namespace {

LogFont pointFont(const char* face) {
    LogFont font;
    // 16 points at 96 dots per inch, as a negative character height: -(16 * 96 / 72).
    font.lfHeight = -21;
    font.lfCharSet = 1;  // default character set
    font.lfFaceName = face;
    return font;
}

}  // namespace

LogFont defaultDocumentFont() {
    return pointFont("MS Sans Serif");
}

LogFont fallbackDocumentFont() {
    return pointFont("System");
}
