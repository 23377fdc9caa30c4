#include "BusText.h"

#include <glib.h>

namespace vigilon::app {

std::string Utf8ForBus(std::string_view text) {
    // GLib's check, not the toolkit's: the toolkit takes encoded UTF-16
    // surrogates as UTF-8, which the bus library refuses.
    if (g_utf8_validate_len(text.data(), text.size(), nullptr)) return std::string(text);
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

}  // namespace vigilon::app
