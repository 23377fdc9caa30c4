#include "StreamProblems.h"

namespace vigilon::app {

void WriteProgramLines(std::ostream& out, const std::string& text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start)
            out << "vigilon: " << std::string_view(text).substr(start, end - start) << '\n';
        start = end + 1;
    }
    out.flush();
}

void StreamProblems::Report(const std::string& text, MessageIcon) {
    std::lock_guard<std::mutex> lock(writing_);
    WriteProgramLines(out_, text);
}

}  // namespace vigilon::app

namespace vigilon::app {

void StreamProblems::WriteLogLine(const std::string& message) {
    // A message with line breaks of its own (a server's reply) stays one
    // line, so that a journal keeps it as one entry.
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::lock_guard<std::mutex> lock(writing_);
    out_ << line << '\n';
    out_.flush();
}

}  // namespace vigilon::app
