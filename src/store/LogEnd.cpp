#include "LogEnd.h"

#include <fstream>

namespace vigilon {

std::string ReadLogEnd(const std::string& path, std::size_t maxBytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return {};
    const std::streamoff size = file.tellg();
    if (size <= 0) return {};
    const std::streamoff start = size > static_cast<std::streamoff>(maxBytes) ? size - maxBytes : 0;
    file.seekg(start);
    std::string text(static_cast<std::size_t>(size - start), '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    // Cut into the middle of a line: the part before its end goes.
    if (start > 0) {
        const std::size_t lineEnd = text.find('\n');
        text.erase(0, lineEnd == std::string::npos ? text.size() : lineEnd + 1);
    }
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) shown += text[i];
    return shown;
}

}  // namespace vigilon
