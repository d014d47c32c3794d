#include "string_table.h"

#include <array>
#include <cstdio>

namespace keldro {
namespace {

struct Entry
{
    StringId id;
    const char* text;
};

// Line breaks are "\n"; the platform's dialogs and terminals show them as such.
constexpr std::array kTable{
    Entry{StringId::LoadMp3Failed, "未能载入 MP3 文件\n\n%s!"},
    Entry{StringId::FileTooLarge, "文件 %s 太大: 只能处理小于 4 GiB 的文件!"},
    Entry{StringId::CannotOpenFile,
          "未能打开文件 %s，请检查它是否存在或是否正在被其他应用程序使用!"},
    Entry{StringId::CannotCreateFile, "未能创建文件 %s! 请检查该文件是否正在被其他应用程序使用 "
                                      "(例如，你在资源管理器中选择该 MP3 文件，它就会被锁定)。"},
    Entry{StringId::ConfirmOverwrite, "%s 已经存在。你想要替换它吗?"},
    Entry{StringId::CueFormatError, "行 [%d] 格式错误，请检查 CUE 源文件并重试!"},
    Entry{StringId::CueTimeError, "读取音轨 [%d] 时间位置错误，请检查 CUE 源文件并重试!"},
    Entry{StringId::StreamInfoVbr, "时间: %s\n%s，第 %d 层，%.0fkbps %s\n%dHz，%s"},
    Entry{StringId::StreamInfoCbr, "时间: %s\n%s，第 %d 层，%.0fkbps CBR\n%dHz，%s"},
    Entry{StringId::StreamLabelVbr, "VBR"},
    Entry{StringId::StreamLabelVbri, "VBRI"},
    Entry{StringId::ChannelStereo, "立体声"},
    Entry{StringId::ChannelJointStereo, "联合立体声"},
    Entry{StringId::ChannelDual, "双声道"},
    Entry{StringId::ChannelMono, "单声道"},
    Entry{StringId::LoadingFramesCaption, "正在载入帧..."},
    Entry{StringId::ConfirmCancelLoadingFrames, "你确定要取消载入帧吗?"},
    Entry{StringId::TimeFormatRule, "时:分(0-59):秒(0-59).毫秒(0-999)"},
    Entry{StringId::TagTitle, "标题:"},
    Entry{StringId::TagArtist, "艺术家:"},
    Entry{StringId::TagAlbum, "专辑:"},
    Entry{StringId::TagYear, "发行年:"},
    Entry{StringId::TagComment, "备注:"},
    Entry{StringId::TagTrack, "曲目号码:"},
    Entry{StringId::TagGenre, "流派:"},
    Entry{StringId::TagNone, "(无 ID3v1 标签)"},
};

constexpr bool TableIsInOrder()
{
    if (kTable.size() != static_cast<size_t>(StringId::Count))
        return false;
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (static_cast<size_t>(kTable[i].id) != i)
            return false;
    }
    return true;
}
static_assert(TableIsInOrder(), "every StringId needs exactly one entry, in enum order");

} // namespace

std::string_view LoadString(StringId id)
{
    const auto index = static_cast<size_t>(id);
    return index < kTable.size() ? kTable[index].text : "";
}

std::string FormatStringV(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return out;
}

} // namespace keldro
