#include "WaitingMailCodec.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace vigilon {

namespace {

constexpr std::string_view kAlertWord = "alert";
constexpr std::string_view kRecoveryWord = "recovery";

void Append(std::vector<std::uint8_t>& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void AppendText(std::vector<std::uint8_t>& bytes, const std::string& text) {
    Append(bytes, std::to_string(text.size()));
    Append(bytes, ":");
    Append(bytes, text);
    Append(bytes, "\n");
}

template <class Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Takes the file apart from the front; every step fails rather than read
// past the end. ranOut tells a file cut short from one that is garbled.
class MailReader {
public:
    explicit MailReader(std::span<const std::uint8_t> bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}

    std::optional<std::string_view> Line() {
        const std::size_t end = text_.find('\n');
        if (end == std::string_view::npos) return RanOut();
        std::string_view line = text_.substr(0, end);
        text_.remove_prefix(end + 1);
        return line;
    }

    std::optional<std::string> Text() {
        const std::size_t colon = text_.find(':');
        if (colon == std::string_view::npos) return RanOut();
        const auto length = ParseNumber<std::size_t>(text_.substr(0, colon));
        if (!length) return std::nullopt;
        text_.remove_prefix(colon + 1);
        if (*length >= text_.size()) return RanOut();  // the text and its line end
        if (text_[*length] != '\n') return std::nullopt;
        std::string text(text_.substr(0, *length));
        text_.remove_prefix(*length + 1);
        return text;
    }

    bool AtEnd() const { return text_.empty(); }
    bool RanOutOfBytes() const { return ranOut_; }

private:
    std::nullopt_t RanOut() {
        ranOut_ = true;
        return std::nullopt;
    }

    std::string_view text_;
    bool ranOut_ = false;
};

std::optional<AlertEvent> ReadMail(MailReader& reader) {
    const std::optional<std::string_view> head = reader.Line();
    if (!head) return std::nullopt;
    const std::size_t first = head->find(' ');
    const std::size_t second = head->find(' ', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    AlertEvent mail;
    const std::string_view kind = head->substr(0, first);
    if (kind == kAlertWord)
        mail.kind = AlertKind::Alert;
    else if (kind == kRecoveryWord)
        mail.kind = AlertKind::Recovery;
    else
        return std::nullopt;
    const auto time = ParseNumber<std::int64_t>(head->substr(first + 1, second - first - 1));
    const auto outageStart = ParseNumber<std::int64_t>(head->substr(second + 1));
    if (!time || !outageStart) return std::nullopt;
    mail.time = *time;
    mail.outageStart = *outageStart;
    for (std::string* field : {&mail.targetAddress, &mail.targetResult, &mail.controlResult,
                               &mail.mailFrom, &mail.mailTo}) {
        std::optional<std::string> text = reader.Text();
        if (!text) return std::nullopt;
        *field = std::move(*text);
    }
    return mail;
}

}  // namespace

std::vector<std::uint8_t> EncodeWaitingMails(const std::vector<AlertEvent>& mails) {
    std::vector<std::uint8_t> bytes;
    Append(bytes, kWaitingMailMagic);
    Append(bytes, std::to_string(kWaitingMailVersion) + "\n");
    Append(bytes, std::to_string(mails.size()) + "\n");
    for (const AlertEvent& mail : mails) {
        Append(bytes, mail.kind == AlertKind::Alert ? kAlertWord : kRecoveryWord);
        Append(bytes,
               " " + std::to_string(mail.time) + " " + std::to_string(mail.outageStart) + "\n");
        for (const std::string* field : {&mail.targetAddress, &mail.targetResult,
                                         &mail.controlResult, &mail.mailFrom, &mail.mailTo}) {
            AppendText(bytes, *field);
        }
    }
    return bytes;
}

WaitingMailDecode DecodeWaitingMails(std::span<const std::uint8_t> bytes) {
    WaitingMailDecode decode;
    MailReader reader(bytes);
    const std::optional<std::string_view> magic = reader.Line();
    if (!magic || !magic->starts_with(kWaitingMailMagic)) {
        decode.damage = "not a file of waiting mails";
        return decode;
    }
    const auto version =
        ParseNumber<int>(magic->substr(std::string_view(kWaitingMailMagic).size()));
    if (version != kWaitingMailVersion) {
        decode.damage = "written in a format this version does not read";
        return decode;
    }
    const std::optional<std::string_view> countLine = reader.Line();
    const auto count = countLine ? ParseNumber<std::size_t>(*countLine) : std::nullopt;
    if (!count) {
        decode.damage = "the number of mails is unreadable";
        return decode;
    }
    const std::string total = std::to_string(*count);
    // Grows with what is read: the count may be damaged.
    for (std::size_t index = 0; index < *count; ++index) {
        std::optional<AlertEvent> mail = ReadMail(reader);
        if (!mail) {
            decode.damage = "mail " + std::to_string(index + 1) + " of " + total +
                            (reader.RanOutOfBytes() ? " is cut short" : " is damaged");
            return decode;
        }
        decode.mails.push_back(std::move(*mail));
    }
    if (!reader.AtEnd()) decode.damage = "unknown bytes follow the last of " + total + " mails";
    return decode;
}

}  // namespace vigilon
