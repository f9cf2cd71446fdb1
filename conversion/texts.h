// The job's own texts, in UTF-8. Hosts convert them at their platform boundary.
#pragma once

#include <string_view>

namespace quenlo {

inline constexpr std::string_view kTotalPrefix = "总共处理行数：";
inline constexpr std::string_view kSecondsSuffix = " 秒";
inline constexpr std::string_view kStartCaption = "开始处理";
inline constexpr std::string_view kStopCaption = "停止";
inline constexpr std::string_view kFinishedText = "转换处理完成！";
inline constexpr std::string_view kFinishedTitle = "提示";
inline constexpr std::string_view kErrorTitle = "错误";
inline constexpr std::string_view kResultsFolderName = "转换结果";
inline constexpr std::string_view kDefaultLinesPerFile = "30000";

// Error wordings: the file in 「」 followed by the system's reason.
inline constexpr std::string_view kCannotOpenInput = "无法打开输入文件";
inline constexpr std::string_view kCannotReadInput = "无法读取输入文件";
inline constexpr std::string_view kCannotCreateFolder = "无法创建结果文件夹";
inline constexpr std::string_view kCannotWriteOutput = "无法写入输出文件";
inline constexpr std::string_view kInvalidInputPath = "输入文件路径无效";
inline constexpr std::string_view kInputShrank = "读取过程中文件变短了";
inline constexpr std::string_view kInputIsFolder = "这是一个文件夹，不是文件";
inline constexpr std::string_view kInputIsOutput =
    "输入文件是本次转换的输出文件之一，不能拆分它自己";

}  // namespace quenlo
