#pragma once

#include <wx/string.h>

#include <string>

namespace vigilon::app {

// The core's 8-bit texts are UTF-8 on this platform. Bytes that are not
// UTF-8 (an old settings file) show as Latin-1 rather than vanish.
inline wxString ToWx(const std::string& text) {
    wxString converted = wxString::FromUTF8(text);
    if (converted.empty() && !text.empty()) converted = wxString::From8BitData(text.data(), text.size());
    return converted;
}

inline std::string FromWx(const wxString& text) { return text.utf8_string(); }

}  // namespace vigilon::app
