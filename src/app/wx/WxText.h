#pragma once

#include <string>

#include <wx/string.h>

namespace vigilon::app {

// The core's 8-bit texts shown by the toolkit: UTF-8 where they are valid
// UTF-8 (every ASCII host name and result), byte for byte as Latin-1 else,
// so that no text is shown empty.
inline wxString ToWx(const std::string& text) {
    wxString shown = wxString::FromUTF8(text.data(), text.size());
    if (shown.empty() && !text.empty()) shown = wxString::From8BitData(text.data(), text.size());
    return shown;
}

inline std::string FromWx(const wxString& text) { return text.utf8_string(); }

}  // namespace vigilon::app
