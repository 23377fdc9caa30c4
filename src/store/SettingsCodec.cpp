#include "SettingsCodec.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"

namespace vigilon {

namespace {

// Field number index (0-based) of the file, read straight into the record.
bool ReadField(ArchiveReader& in, MonitorSettings& settings, int index) {
    switch (index) {
        case 0: return in.ReadText(settings.targetAddress);
        case 1: return in.ReadInt32(settings.pingFrequency);
        case 2: return in.ReadText(settings.controlAddress);
        case 3: return in.ReadText(settings.mailFrom);
        case 4: return in.ReadText(settings.mailTo);
        case 5: return in.ReadText(settings.smtpServer1);
        case 6: return in.ReadText(settings.smtpServer2);
        case 7: return in.ReadInt32(settings.timeoutsBeforeEmail);
        case 8: return in.ReadInt32(settings.logEnabled);
        case 9: return in.ReadInt32(settings.emailEnabled);
        case 10: return in.ReadInt32(settings.autoMinimize);
        default: return false;
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeSettings(const MonitorSettings& settings) {
    ArchiveWriter out;
    out.WriteText(settings.targetAddress);
    out.WriteInt32(settings.pingFrequency);
    out.WriteText(settings.controlAddress);
    out.WriteText(settings.mailFrom);
    out.WriteText(settings.mailTo);
    out.WriteText(settings.smtpServer1);
    out.WriteText(settings.smtpServer2);
    out.WriteInt32(settings.timeoutsBeforeEmail);
    out.WriteInt32(settings.logEnabled);
    out.WriteInt32(settings.emailEnabled);
    out.WriteInt32(settings.autoMinimize);
    return out.TakeBytes();
}

SettingsDecode DecodeSettings(std::span<const std::uint8_t> bytes, MonitorSettings& settings) {
    ArchiveReader in(bytes);
    SettingsDecode result;
    // A stop leaves the fields read so far loaded and the later ones as
    // they were: the record is written field by field, never as a whole.
    while (result.fieldsRead < kSettingsFieldCount && ReadField(in, settings, result.fieldsRead)) {
        ++result.fieldsRead;
    }
    return result;
}

}  // namespace vigilon
