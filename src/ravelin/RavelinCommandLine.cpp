#include "RavelinCommandLine.h"

namespace vigilon::ravelin {

RavelinCommandLine ParseRavelinCommandLine(const std::vector<std::string>& args) {
    RavelinCommandLine line;
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") return {RavelinCommandLine::Action::ShowHelp, {}, {}};
        if (arg == "-V" || arg == "--version")
            return {RavelinCommandLine::Action::ShowVersion, {}, {}};
    }
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg.front() == '-')
            return {RavelinCommandLine::Action::Refuse, {}, "unknown option '" + arg + "'"};
        if (!line.host.empty())
            return {RavelinCommandLine::Action::Refuse, {}, "only one host may be given"};
        line.host = arg;
    }
    return line;
}

std::string RavelinUsageText() {
    return "Usage: ravelin [OPTION]... [HOST]\n"
           "Ping one host by hand and watch its round-trip times: a live graph, the\n"
           "running statistics and one line per request. Given a HOST, Ravelin starts\n"
           "pinging it at once.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n";
}

std::string RavelinVersionText() { return std::string("Ravelin ") + VIGILON_VERSION + "\n"; }

}  // namespace vigilon::ravelin
