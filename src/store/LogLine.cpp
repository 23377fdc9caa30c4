#include "LogLine.h"

#include <ctime>

#include "LocalTime.h"

namespace vigilon {

namespace {

std::string FormatStamp(std::int64_t secondsSince1970) {
    std::time_t time = static_cast<std::time_t>(secondsSince1970);
    LocalTime local;
    if (!ToLocalTime(time, local)) return "00/00/00 00:00:00";
    char stamp[32];
    std::size_t length = std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S", &local.fields);
    return std::string(stamp, length);
}

}  // namespace

std::string FormatLogLine(std::int64_t secondsSince1970, const std::string& message) {
    std::string line = FormatStamp(secondsSince1970);
    line += ' ';
    line.reserve(line.size() + message.size() + 2);
    for (char c : message) {
        if (c == '\n') line += '\r';
        line += c;
    }
    line += "\r\n";
    return line;
}

}  // namespace vigilon
