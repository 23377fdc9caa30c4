#include "CommandLine.h"

#include <string_view>

#include "ListenAddress.h"

namespace vigilon::app {

namespace {

constexpr std::string_view kDataDir = "--data-dir";
constexpr const char* kOneFolder = "only one of --data-dir and --user-data may be given, once";
constexpr const char* kOneMode = "only one of --headless, --set and --show-settings may be given";

CommandLine Refused(std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.error = std::move(error);
    return line;
}

CommandLine Answered(CommandLine::Action action) {
    CommandLine line;
    line.action = action;
    return line;
}

// An option's value, given as "--name VALUE" or "--name=VALUE"; false when
// arg is not that option. missing is set when the value is absent or empty.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value, bool& missing) {
    const std::string& arg = args[i];
    if (arg == name) {
        missing = i + 1 == args.size() || args[i + 1].empty();
        if (i + 1 < args.size()) value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        missing = value.empty();
        return true;
    }
    return false;
}

bool IsAssignment(const std::string& word) {
    const std::size_t equals = word.find('=');
    return equals != std::string::npos && equals > 0 && !word.starts_with("-");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool folderGiven = false;
    bool modeGiven = false;
    const auto chooseMode = [&](CommandLine::Mode mode) {
        if (modeGiven && line.mode != mode) return false;
        modeGiven = true;
        line.mode = mode;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") return Answered(CommandLine::Action::ShowHelp);
        if (arg == "-V" || arg == "--version") return Answered(CommandLine::Action::ShowVersion);

        std::string value;
        bool missing = false;
        if (TakeValue(args, i, kDataDir, value, missing)) {
            if (missing) return Refused("option '--data-dir' needs a folder");
            if (folderGiven) return Refused(kOneFolder);
            folderGiven = true;
            line.dataDir = std::move(value);
        } else if (arg == "--user-data") {
            if (folderGiven) return Refused(kOneFolder);
            folderGiven = true;
            line.userData = true;
        } else if (arg == "--headless") {
            if (!chooseMode(CommandLine::Mode::Headless)) return Refused(kOneMode);
        } else if (arg == "--show-settings") {
            if (!chooseMode(CommandLine::Mode::ShowSettings)) return Refused(kOneMode);
        } else if (arg == "--set") {
            if (!chooseMode(CommandLine::Mode::SetSettings)) return Refused(kOneMode);
            // Every NAME=VALUE word that follows, up to the next option.
            const std::size_t first = line.assignments.size();
            while (i + 1 < args.size() && IsAssignment(args[i + 1]))
                line.assignments.push_back(args[++i]);
            if (line.assignments.size() == first) return Refused("option '--set' needs NAME=VALUE");
        } else if (TakeValue(args, i, "--metrics-listen", value, missing)) {
            if (missing) return Refused("option '--metrics-listen' needs HOST:PORT");
            metrics::ListenAddress ignored;
            if (const std::string problem = metrics::ParseListenAddress(value, ignored);
                !problem.empty())
                return Refused("--metrics-listen: " + problem);
            line.metricsListen = std::move(value);
        } else if (TakeValue(args, i, "--metrics-file", value, missing)) {
            if (missing) return Refused("option '--metrics-file' needs a path");
            line.metricsFile = std::move(value);
        } else if (arg.starts_with("--help=") || arg.starts_with("--version=") ||
                   arg.starts_with("--user-data=") || arg.starts_with("--headless=") ||
                   arg.starts_with("--show-settings=")) {
            return Refused("option '" + arg.substr(0, arg.find('=')) + "' takes no value");
        } else if (arg.starts_with("-") && arg != "-") {
            return Refused("unknown option '" + arg + "'");
        } else {
            return Refused("unexpected argument '" + arg + "'");
        }
    }
    if (!line.Monitors() && !(line.metricsListen.empty() && line.metricsFile.empty()))
        return Refused(
            "--metrics-listen and --metrics-file go with monitoring, not with --set or "
            "--show-settings");
    return line;
}

std::string UsageText() {
    const PlatformHelp help = ThisPlatformHelp();
    return "Usage: vigilon [--data-dir=DIR | --user-data]" + help.headlessUsage +
           " [METRICS]...\n"
           "  or:  vigilon [--data-dir=DIR | --user-data] --set NAME=VALUE...\n"
           "  or:  vigilon [--data-dir=DIR | --user-data] --show-settings\n"
           "Watch whether one host stays reachable by ping, and send an e-mail alert\n"
           "when it stops answering and when it answers again.\n"
           "\n"
           "Vigilon keeps its settings (Vigilon.dat) and its log (Vigilon.log) in the\n"
           "current directory, or in the folder one of these options gives:\n"
           "      --data-dir=DIR  use DIR (made, with its missing parents, readable by\n"
           "                      you only, when it does not exist)\n" +
           help.userData +
           "\n"
           "Without a window:\n" +
           help.headless +
           "      --set NAME=VALUE...  change settings and save them; the names are\n"
           "                      targetAddress, pingFrequency, controlAddress, mailFrom,\n"
           "                      mailTo, smtpServer1, smtpServer2, timeoutsBeforeEmail,\n"
           "                      logEnabled, emailEnabled, autoMinimize (switches 0 or 1)\n"
           "      --show-settings print the settings as NAME=VALUE lines, passwords hidden\n"
           "\n"
           "METRICS, with or without a window:\n" +
           help.metricsListen +
           "      --metrics-file=PATH  write the same metrics to PATH after every\n"
           "                      ping cycle (node_exporter's textfile collector)\n"
           "\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n"
           "\n"
           "One Vigilon at a time may use a folder; it holds the lock file Vigilon.lock\n"
           "there while it runs. Exit status: 0 done, 1 could not start, 2 a mistake\n"
           "in the command line, the settings or the settings file.\n";
}

}  // namespace vigilon::app
