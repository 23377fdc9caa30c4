#include "NoticeMarkup.h"

namespace vigilon::app {

std::string EscapeNoticeMarkup(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            // Numeric: &apos; is XML's, not every markup reader's.
            case '\'': escaped += "&#39;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

}  // namespace vigilon::app
