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
    Entry{StringId::CueSheetTooLarge, "CUE 文件 %s 太大: 只能处理不大于 1 MiB 的 CUE 文件!"},
    Entry{StringId::CueTooManyTracks,
          "CUE 文件中的音轨太多: 最多只能处理 %d 个音轨，请检查 CUE 源文件并重试!"},
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
    Entry{StringId::AlreadyInList, "%s 已存在于该列表中。"},
    Entry{StringId::SelectItemFirst, "请先从列表中选择项目!"},
    Entry{StringId::ConfirmUnloadSource, "你确定你想要移除当前 MP3 吗?"},
    Entry{StringId::ConfirmClearList, "你确定你想要清除分割列表中的所有音轨吗?"},
    Entry{StringId::LoadSourceFirst, "请先载入你想要分割的 MP3 文件!"},
    Entry{StringId::CueSaveCancelled, "操作已被取消，未保存 CUE 文件。"},
    Entry{StringId::SaveCueTitle, "选择 CUE sheet 的文件名称"},
    Entry{StringId::CueFileFilter, "CUE (*.cue)|*.cue||"},
    Entry{StringId::TrackLabel, "曲目号码 %02d/%02d: %s - %s (%s，大约 %.1f %s)"},
    Entry{StringId::TrackLabelInitial, "曲目号码: 起点 - 终点 (估计大小)"},
    Entry{StringId::OverlapNone, "无交迭"},
    Entry{StringId::OverlapForward, "向前交迭"},
    Entry{StringId::OverlapBackward, "向后交迭"},
    Entry{StringId::OverlapBoth, "向前/向后交迭"},
    Entry{StringId::UnitKilobytes, "KB"},
    Entry{StringId::UnitMegabytes, "MB"},
    Entry{StringId::ListColumns,
          " ,30;起点, 60;终点, 60;长度, 60;标题, 100;艺术家, 100;专辑, "
          "100;流派, 80;发行年, 60;曲目号码, 60;注释, 100;向后交迭,80; 向前交迭,80"},
    Entry{StringId::TagEditorCaption, "ID3 标签编辑器"},
    Entry{StringId::TagEditorLine, "区段 %d 的 ID3 标签信息: [ %s - %s ]"},
    Entry{StringId::TagEditorResetQuestion,
          "该操作将会重置你刚才选择进行分割的 MP3 文件的 ID3 标签信息。你确定要继续吗?"},
    Entry{StringId::TagEditorHelp,
          "你可以在 ID3 标签栏为生成的分割音轨使用下列通配符 (区分大小写):\n"
          "  %S: 分割列表中的音轨序号\n  %M: 音轨的专辑名称\n"
          "  %K: 曲目号码 (ID3 标签中的曲目号码)\n\n"
          "例如，你想要每个音轨的“标题”栏中自动包含曲目号码，你可以在“标题”栏中添加“%K”，"
          "或者你想要自动生成“曲目号码”栏，你可以添加“%S”到“曲目号码”栏。"},
    Entry{StringId::SpecialWholeRange, "1 - %d  [%s-%s]"},
    Entry{StringId::SpecialTrackRange, "%d  [%s-%s]"},
    Entry{StringId::NoSectionSelected, "未选择区段"},
    Entry{StringId::MaximumLabel, "最大值: %s"},
    Entry{StringId::FixedTimeZero,
          "%s 无效。它必须大于 0，或者必须为“时:分(0-59):秒(0-59).毫秒(0-999)”的格式。"},
    Entry{StringId::FixedTimeTooSmall, "%s 太小。一次可以创建的最大片断必须小于 %d。"},
    Entry{StringId::FixedTimeBeyondWhole, "%s 无效。它必须小于你想要分割的音轨的整个长度: %s。"},
    Entry{StringId::FixedTimeBeyondTrack, "%s 无效。它必须小于你想要分割的音轨的区段长度: %s。"},
    Entry{StringId::BadSectionCount, "无效的区段数。它必须为 1-%d。"},
    Entry{StringId::ConfirmReplaceTracks,
          "该操作将会在进行添加之前移除所有已存在的音轨。你想要继续吗?"},
    Entry{StringId::StartNotBeforeEnd, "你想要更新的时间必须小于选定音轨的结束时间。"},
    Entry{StringId::EndNotAfterStart, "你想要更新的时间必须大于选定音轨的开始时间。"},
    Entry{StringId::TrackUpdateCaption, "曲目号码 %02d/%02d:"},
    Entry{StringId::ChooseSourceTitle, "选择要分割的 MP3 / CUE 文件"},
    Entry{StringId::SourceFileFilter,
          "MP3/CUE (*.mp3;*.cue)|*.mp3;*.cue|MP3 (*.mp3)|*.mp3|CUE (*.cue)|*.cue||"},
    Entry{StringId::AudioFileFilter, "MP3 (*.mp3)|*.mp3|所有文件 (*.*)|*.*||"},
    Entry{StringId::CueAudioMissing, "无法载入下方已与 CUE 文件进行关联的音频文件:\n%s\n\n"
                                     "你想要选择其他音频文件来应用该 CUE 文件中的音轨信息吗?"},
    Entry{StringId::SwitchModeCaption, "切换分割模式"},
    Entry{StringId::SwitchModeText,
          "切换分割模式需要重新载入音频文件，分割列表中的所有音轨都将被清除。\n\n"
          "点击“确定”按钮在切换前保存你的当前工作，点击“取消”按钮继续操作。"},
    Entry{StringId::ModeAuto, "自动模式"},
    Entry{StringId::ModeFast, "快速分割"},
    Entry{StringId::ModeFrame, "帧分割"},
    Entry{StringId::LoadingFramesLine, "正在载入帧，请稍等..."},
    Entry{StringId::LoadingFramesTip,
          "提示: "
          "使用“帧分割模式”将会使分割更加精确，但是将会需要花费更多的时间来载入一个较大的文件帧。"
          "如果你仅需要快速分割到较小的片断而不需要精确每个片断的大小，请选择“快速分割模式”。"},
    Entry{StringId::NoRowChecked, "请至少选择一个区段进行分割。"},
    Entry{StringId::OnlyOneRow, "只有一个片断在分割列表中。你确定无论如何都执行该分割吗?"},
    Entry{StringId::EmptyNamingRule, "请输入将要生成的 MP3 文件的文件名称。"},
    Entry{StringId::ChooseOutputFolder, "请选择目标文件夹来保存分割后的输出文件:"},
    Entry{StringId::NoDestination, "请在开始分割音轨前先设置目标文件夹。"},
    Entry{StringId::ConfirmAbort, "你确定要中止吗?"},
    Entry{StringId::SplittingStatus, "正在分割 # %02d/%02d - %s"},
    Entry{StringId::StatusIdle, "空闲"},
    Entry{StringId::StatusAborted, "已中止"},
    Entry{StringId::StatusDone, "已完成"},
    Entry{StringId::SplitDone, "分割已成功完成，分割后的文件已保存到文件夹: %s!"},
    Entry{StringId::SplitDoneWithCue, "%s\n导出 CUE Sheet 到 %s"},
    Entry{StringId::NamingHelp,
          "你可以使用下列标签 (区分大小写，包含 ID3 标签) 结合任意文本字符作为生成文件的名称:\n\n"
          "  %F: 源文件名称\n  %S: 分割列表中音轨的序号\n  %T: 音轨标题\n  %A: 音轨的艺术家\n"
          "  %M: 音轨的专辑\n  %K: 曲目号码 (ID3 标签中的曲目号码)\n\n"
          "例如，你载入的 MP3 源文件为 Orvane.mp3 并且使用“%F_Song%S”作为命名规则，"
          "分割后生成的文件将会被命名为 Orvane_Song001.mp3，Orvane_Song002.mp3，等等。"},
    Entry{StringId::SplitListHint,
          "拖曳 MP3 或 CUE 文件到这里进行分割。\n单击鼠标右键弹出上下文菜单。"},
    Entry{StringId::SplitCellTooltip, "双击该音轨编辑它的 ID3 标签。"},
    Entry{StringId::HeaderCheckOn, "全部生成 (已选中)"},
    Entry{StringId::HeaderCheckOff, "全部生成 (未选中)"},
    Entry{StringId::MenuChooseSource, "选择文件进行分割(&S)"},
    Entry{StringId::MenuUnloadSource, "移除 MP3"},
    Entry{StringId::MenuEqualParts, "分割为相等的片断(&E)..."},
    Entry{StringId::MenuOverlaps, "使用交迭分割(&O)..."},
    Entry{StringId::MenuPreviewTrack, "预览音轨(&P)"},
    Entry{StringId::MenuUpdateTrack, "更新音轨(&U)"},
    Entry{StringId::MenuSetStart, "设置起点(&S)"},
    Entry{StringId::MenuSetEnd, "设置终点(&E)"},
    Entry{StringId::MenuSetLength, "设置长度(&L)..."},
    Entry{StringId::MenuEditTags, "编辑 ID3 标签(&I)..."},
    Entry{StringId::MenuRemoveTrack, "移除音轨(&R)"},
    Entry{StringId::MenuClearList, "清除列表(&C)"},
    Entry{StringId::MenuSaveList, "保存列表(&L)"},
    Entry{StringId::MenuOtherSettings, "其他设置(&M)..."},
    Entry{StringId::ModeMenuTitle, "分割模式"},
    Entry{StringId::ModeMenuAuto, "自动探测(&A)"},
    Entry{StringId::ModeMenuFast, "快速分割(&F)"},
    Entry{StringId::ModeMenuFrame, "帧分割(&M)"},
    Entry{StringId::StartSplitButton, "开始分割(&S)"},
    Entry{StringId::StopSplitButton, "停止分割(&S)"},
    Entry{StringId::PlayButton, "播放"},
    Entry{StringId::PreviewButton, "预览"},
    Entry{StringId::StopPlaybackButton, "停止"},
    Entry{StringId::StartMergeButton, "开始合并(&M)"},
    Entry{StringId::StopMergeButton, "停止合并(&M)"},
    Entry{StringId::MenuAddMergeFiles, "添加文件进行合并(&A)"},
    Entry{StringId::MenuSetSilence, "设置静音(&S)..."},
    Entry{StringId::MenuRemoveMergeFiles, "移除(&R)"},
    Entry{StringId::MenuMoveUp, "上移(&U)"},
    Entry{StringId::MenuMoveDown, "下移(&D)"},
    Entry{StringId::MenuMoveTop, "移至顶端(&T)"},
    Entry{StringId::MenuMoveBottom, "移至底端(&E)"},
    Entry{StringId::MenuPlay, "播放(&P)"},
    Entry{StringId::SpinStepUp, "增加一个步进"},
    Entry{StringId::SpinStepDown, "减少一个步进"},
    Entry{StringId::SliderSelectionRange, "选定范围: %d%% - %d%%"},
    Entry{StringId::MergeColumns,
          "文件名称, 120;时间, 60;静音, 55;标题, 80;艺术家, 80;专辑, 60;"
          "曲目号码, 50;采样率, 60;比特率, 80; 声道, 60;流派, 80;发行年, 60;"
          "备注, 100;文件大小, 60;文件路径, 120"},
    Entry{StringId::MergeListHint, "你可以通过拖曳 MP3 文件到该合并列表中来进行添加。\n "
                                   "拖动 MP3 文件来调整合并序号。点击栏目标题来排列列表。"},
    Entry{StringId::SilenceNone, "<无>"},
    Entry{StringId::BitrateVbr, "%.0f kbps VBR"},
    Entry{StringId::BitrateCbr, "%.0fkbps"},
    Entry{StringId::SizeKilobytes, "%.0f KB"},
    Entry{StringId::SizeMegabytes, "%.1f MB"},
    Entry{StringId::AddMergeFilesTitle, "添加 MP3 文件进行合并"},
    Entry{StringId::Mp3OnlyFilter, "MP3 (*.mp3)|*.mp3||"},
    Entry{StringId::ConfirmClearMergeList, "你确定你想要清除合并列表中的所有 MP3 文件吗?"},
    Entry{StringId::ChooseMergeFolder, "请选择目标文件来保存合并后的输出文件:"},
    Entry{StringId::InsertSilenceCaption, "插入静音"},
    Entry{StringId::EnterInteger, "请键入一个整数。"},
    Entry{
        StringId::MergeMismatch,
        "你将要合并的某些 MP3 文件使用了不同编码参数 (例如: 采样率，声道或比特率)，"
        "这可能会导致合并后的 MP3 文件播放出现问题。\n\n强烈建议你在合并前将他们转换为相同编码。"},
    Entry{StringId::ConvertListFailed, "无法为转换生成音频文件列表!"},
    Entry{StringId::ConverterMissing,
          "未安装 Brantor 或 Wexlin，你可以点击下面的链接下载免费试用版。"},
    Entry{StringId::AddFilesFirst, "请先添加你想要合并的 MP3 文件!"},
    Entry{StringId::ChooseTargetTitle, "选择目标 MP3 文件"},
    Entry{StringId::SourceIsTarget, "%s 不能被同时选定为来源与目标 MP3 文件!"},
    Entry{StringId::MergingStatus, "正在合并 # %02d/%02d - %s"},
    Entry{StringId::MergeDone, "合并已成功完成，合并后的文件: %s!"},
    Entry{StringId::TimeFormatRule, "时:分(0-59):秒(0-59).毫秒(0-999)"},
    Entry{StringId::TagTitle, "标题:"},
    Entry{StringId::TagArtist, "艺术家:"},
    Entry{StringId::TagAlbum, "专辑:"},
    Entry{StringId::TagYear, "发行年:"},
    Entry{StringId::TagComment, "备注:"},
    Entry{StringId::TagTrack, "曲目号码:"},
    Entry{StringId::TagGenre, "流派:"},
    Entry{StringId::TagNone, "(无 ID3v1 标签)"},
    Entry{StringId::PlaybackLibraryFailed,
          "未能初始化音频文件播放模块，所有播放功能都将被禁用。\n\n"
          "请重新安装该软件以修复该问题。"},
    Entry{StringId::PlaybackDeviceFailed, "未能初始化音频文件播放设备，所有播放功能都将被禁用。"},
    Entry{StringId::MergeSettingsSummary,
          "默认源文件夹: \n    %s\n在合并开始前进行的操作:\n  检查 MP3: %s\n  确认文件覆盖: %s\n"
          "在合并完成时进行的操作:\n  显示“成功”窗口:  %s\n  打开目标文件夹:  %s\n"
          "  播放已合并的 MP3:  %s\n  开始新的合并:  %s"},
    Entry{StringId::SplitSettingsSummary,
          "默认源文件夹:\n    %s\n在分割开始前进行的操作:\n  输出文件夹确认:  %s\n"
          "  确认文件覆盖: %s\n  计算音轨序号:  %s\n在分割完成后进行的操作:\n"
          "  显示“成功”窗口:  %s\n  打开目标文件夹:  %s\n  导出 CUE 文件:  %s\n"
          "  开始新的分割:  %s"},
    Entry{StringId::SummaryYes, "是"},
    Entry{StringId::SummaryNo, "否"},
    Entry{StringId::SummaryLastFolder, "最后打开的文件夹"},
    Entry{StringId::SummaryCountSelected, "选定"},
    Entry{StringId::SummaryCountAll, "全部"},
    Entry{StringId::ConfirmExitWhileBusy,
          "现在正在进行分割/合并，强烈建议你在退出前停止该操作。你确定无论如何都要退出吗?"},
    Entry{StringId::CancelButton, "取消"},
    Entry{StringId::HelpFileMissing, "未能找到帮助文件 %s。"},
    Entry{StringId::ProductName, "Keldro"},
    Entry{StringId::ProductVersion, "3.0"},
    Entry{StringId::WindowCaption, "%s v%s"},
    Entry{StringId::FrameModeHint,
          "提示: "
          "使用“帧分割模式”将会使分割更加精确，但是将会需要花费更多的时间来载入一个较大的文件帧。"
          "如果你仅需要快速分割到较小的片断而不需要精确每个片断的大小，请选择“快速分割模式”。"},
    Entry{StringId::ChooseMergeSourceFolder, "选择要合并的 MP3 源文件默认文件夹"},
    Entry{StringId::ChooseSplitSourceFolder, "选择要分割的 MP3 源文件默认文件夹"},
    Entry{StringId::ReasonNoSpace, "没有剩余空间"},
    Entry{StringId::ReasonPermission, "权限不够"},
    Entry{StringId::ReasonReadOnly, "文件系统是只读的"},
    Entry{StringId::ReasonNoFolder, "文件夹不存在"},
    Entry{StringId::ReasonNotAFolder, "路径中有一部分不是文件夹"},
    Entry{StringId::ReasonNameTooLong, "文件名太长"},
    Entry{StringId::ReasonFileTooBig, "文件超出了允许的大小"},
    Entry{StringId::ReasonInputOutput, "读写错误"},
    Entry{StringId::ReasonOther, "系统错误 %d: %s"},
    Entry{StringId::ReasonSourceChangedSplitting, "源文件在分割期间被修改"},
    Entry{StringId::ReasonSourceChangedMerging, "源文件在合并期间被修改"},
    Entry{StringId::ReasonTargetIsSource, "目标文件就是源文件"},
    Entry{StringId::CannotCreateFolder, "未能创建文件夹 %s!"},
    Entry{StringId::MergeTooLarge,
          "合并后的文件将达到 4 GiB 或更大: 只能写入小于 4 GiB 的文件! 请减少要合并的文件或静音。"},
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
