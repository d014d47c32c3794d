#include "info_command.h"

#include "cli_app.h"
#include "display_text.h"
#include "engine/header_frame_check.h"
#include "engine/mp3_info.h"
#include "engine/stream_info_text.h"
#include "string_table.h"

#include <ostream>

namespace keldro::cli {
namespace {

using json = nlohmann::ordered_json;

json TagJson(const TagRecord& tag)
{
    return json{{"title", ToDisplayText(tag.title)},
                {"artist", ToDisplayText(tag.artist)},
                {"album", ToDisplayText(tag.album)},
                {"year", ToDisplayText(tag.year)},
                {"comment", ToDisplayText(tag.comment)},
                {"track", tag.track},
                {"genre_index", tag.genre},
                {"genre", std::string(GenreName(tag.genre))}};
}

template <typename T>
json ValueOrNull(bool present, T value)
{
    return present ? json(value) : json(nullptr);
}

void AddStreamFields(json& object, const CMP3Info& info)
{
    const FrameHeaderInfo& header = info.Header();
    object["version"] = std::string(CMP3Info::VersionName(header.version));
    object["version_code"] = header.version;
    object["layer"] = header.layer;
    object["bitrate_kbps"] = header.bitrate;
    object["average_bitrate_kbps"] = ValueOrNull(info.HasVbrHeader(), info.AverageBitrate());
    object["sample_rate"] = header.sampleRate;
    object["channel_mode"] = header.channelMode;
    object["channel_mode_name"] = std::string(CMP3Info::ChannelModeName(header.channelMode));
    object["vbr_header"] = std::string(VbrHeaderTypeName(info.VbrType()));
    object["vbr_frame_offset"] = info.VbrFrameOffset();
    object["first_frame_offset"] = info.FirstFrameOffset();
    object["vbr_tag_offset"] = ValueOrNull(info.HasHeaderFrame(), info.VbrTagOffset());
    object["vbr_frames"] = ValueOrNull(info.HasHeaderFrame(), info.VbrFrames());
    object["estimated_frames"] = info.EstimatedFrames();
    object["total_frames"] = info.GetTotalFrames();
    object["frame_length"] = header.frameLength;
    object["duration_ms"] = info.DurationMs();
    object["info_text"] = StreamInfoText(info);
}

// Walks the whole stream for the seek table; a file that cannot be read again
// reports nothing rather than a guess.
void AddHeaderFrameFields(json& object, const CMP3Info& info)
{
    FileReader file = FileReader::Open(info.Path());
    HeaderFrameCheck check;
    if (file.IsOpen())
        check = CheckHeaderFrame(file, info);
    if (file.HasFailed())
        check = HeaderFrameCheck{};
    const LameTag& lame = check.lame;
    object["encoder_delay"] = ValueOrNull(lame.present, lame.delay);
    object["encoder_padding"] = ValueOrNull(lame.present, lame.padding);
    object["lame_tag_crc_ok"] = ValueOrNull(lame.present, lame.tagCrcOk);
    object["toc_ok"] = ValueOrNull(check.tocOk.has_value(), check.tocOk.value_or(false));
}

void PrintTag(std::ostream& out, const TagRecord& tag)
{
    const auto line = [&out](StringId label, const std::string& value) {
        out << LoadString(label) << ' ' << ToDisplayText(value) << '\n';
    };
    line(StringId::TagTitle, tag.title);
    line(StringId::TagArtist, tag.artist);
    line(StringId::TagAlbum, tag.album);
    line(StringId::TagYear, tag.year);
    line(StringId::TagComment, tag.comment);
    line(StringId::TagTrack, tag.track != 0 ? std::to_string(tag.track) : std::string());
    line(StringId::TagGenre, std::string(GenreName(tag.genre)));
}

void PrintHuman(std::ostream& out, const CMP3Info& info, const std::string& path)
{
    out << ToDisplayText(path) << '\n' << StreamInfoText(info) << '\n';
    if (info.HasID3v1())
        PrintTag(out, info.Tag());
    else
        out << LoadString(StringId::TagNone) << '\n';
}

} // namespace

json InfoJson(const CMP3Info& info, const std::string& path, bool analysed)
{
    json object;
    PutPath(object, "path", path);
    object["stream_found"] = info.HasStream();
    if (analysed) {
        object["file_size"] = info.FileSize();
        object["has_id3v1"] = info.HasID3v1();
        object["tag"] = TagJson(info.Tag());
    }
    if (info.HasStream()) {
        AddStreamFields(object, info);
        AddHeaderFrameFields(object, info);
    } else
        object["error"] = LoadFailureMessage(info, ToDisplayText(path));
    return object;
}

CLI::App* AddInfoCommand(CLI::App& app, InfoOptions& options)
{
    CLI::App* command = app.add_subcommand("info", "Analyse MP3 files as a loaded source is");
    command->add_flag("--json", options.json, "Print one JSON object per file");
    command->add_option("FILE", options.files, "MP3 files")->required();
    return command;
}

int RunInfo(const InfoOptions& options, std::ostream& out, std::ostream& err)
{
    int exitCode = kExitOk;
    json report = json::array();
    for (size_t i = 0; i < options.files.size(); ++i) {
        const std::string& path = options.files[i];
        CMP3Info info;
        const bool analysed = info.Analyse(path);
        const bool usable = analysed && info.HasStream();
        if (!usable) {
            exitCode = kExitFailed;
            err << LoadFailureMessage(info, ToDisplayText(path)) << '\n';
        }
        if (options.json) {
            report.push_back(InfoJson(info, path, analysed));
        } else if (usable) {
            if (i > 0)
                out << '\n';
            PrintHuman(out, info, path);
        }
    }
    if (options.json)
        out << (report.size() == 1 ? report[0] : report).dump(2) << '\n';
    return exitCode;
}

} // namespace keldro::cli
