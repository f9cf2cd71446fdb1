#include "cli/messages.h"

#include <array>
#include <utility>

#include "conversion/texts.h"

namespace quenlo {
namespace {

constexpr std::string_view kHelpChinese =
    "用法：quenlo-split [--out 文件夹] [--] 输入文件 [每个文件的行数]\n"
    "把输入文件拆分成编号的文件，每个文件若干行（默认 30000），文件名为 N-yyyy-mm-dd.txt；\n"
    "每行去掉两端的空格，以 CR LF 结尾。结果写入 --out 给出的文件夹，未给出时写入\n"
    "当前文件夹下的「转换结果」。不删除任何文件：同一天已有的编号文件在原内容之后接着写。\n"
    "\n"
    "行在 CR 和 CR LF 处结束。输入的第一块（1 MiB）含有 LF 而没有 CR 时，LF 也结束一行。\n"
    "\n"
    "输入文件为 \"-\" 时读取标准输入；\"--\" 之后不再有选项，用于以 \"-\" 开头的文件名。\n"
    "\n"
    "  --out 文件夹, --out=文件夹  编号的文件写入该文件夹（不存在时创建）\n"
    "  --help                      显示本说明\n"
    "  --version                   显示版本\n"
    "\n"
    "在终端上，标准错误输出的进度行显示已处理的行数和秒数；输入大小已知时\n"
    "还显示百分比、速度和剩余时间。\n"
    "\n"
#ifdef _WIN32
    "退出状态：0 完成，1 失败，2 用法错误。Ctrl-C 或 Ctrl-Break 停止转换，保留已计数的行\n"
    "（退出状态 130）。注销、关机或重启 Windows 同样停止转换：文件在完整的行处结束并关闭\n"
    "之后，才告诉 Windows 可以结束会话。关闭控制台窗口也停止转换。两种情况下，程序自行\n"
    "退出时退出状态为 129。\n";
#else
    "退出状态：0 完成，1 失败，2 用法错误；停止时保留已计数的行：Ctrl-C（SIGINT）130，\n"
    "SIGHUP 129，SIGTERM 143。\n";
#endif

constexpr std::string_view kHelpEnglish =
    "Usage: quenlo-split [--out DIR] [--] INPUT [LINES_PER_FILE]\n"
    "Splits INPUT into numbered files of LINES_PER_FILE lines each (default 30000),\n"
    "named N-yyyy-mm-dd.txt, with the spaces at both ends of every line removed and\n"
    "every line ended by CR LF. The files go to DIR, or to the folder \"转换结果\" in\n"
    "the current folder. Nothing is deleted: numbered files of the same day that are\n"
    "there already get the new lines after their own.\n"
    "\n"
    "Lines end at CR and at CR LF. An input whose first block (1 MiB) holds LF and no\n"
    "CR takes LF as a line end too.\n"
    "\n"
    "INPUT \"-\" reads standard input; \"--\" ends the options, for an INPUT that\n"
    "starts with \"-\".\n"
    "\n"
    "  --out DIR, --out=DIR   write the numbered files to DIR (created if missing)\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "On a terminal a progress line on stderr shows the lines done and the seconds,\n"
    "and for an input of known size the percentage, the rate and the time left.\n"
    "\n"
#ifdef _WIN32
    "Exit status: 0 done, 1 failed, 2 bad usage. Ctrl-C or Ctrl-Break stops the run\n"
    "and keeps the lines counted so far (exit status 130). Signing out, shutting down\n"
    "or restarting Windows stops it the same way: Windows is told that the session\n"
    "may end only once the files end at a whole line and are closed. Closing the\n"
    "console window stops it too. Either way the exit status is 129 when the program\n"
    "gets to exit by itself.\n";
#else
    "Exit status: 0 done, 1 failed, 2 bad usage; a stop keeps the lines counted so\n"
    "far: Ctrl-C (SIGINT) 130, SIGHUP 129, SIGTERM 143.\n";
#endif

struct Phrase {
    std::string_view chinese;
    std::string_view english;
};

// The job's failures: what could not be done, then (in 「」 and after ：) the file
// and the reason.
constexpr std::array kJobPhrases{
    Phrase{kCannotOpenInput, "cannot open the input file"},
    Phrase{kCannotReadInput, "cannot read the input file"},
    Phrase{kCannotCreateFolder, "cannot create the results folder"},
    Phrase{kCannotWriteOutput, "cannot write the output file"},
    Phrase{kInvalidInputPath, "invalid input file name"},
};
// Reasons of the job's own, beside the system's.
constexpr std::array kJobReasons{
    Phrase{kInputShrank, "the file became shorter while it was read"},
    Phrase{kInputIsFolder, "it is a folder, not a file"},
    Phrase{kInputIsOutput, "it is one of this run's own output files, and cannot split itself"},
};

constexpr std::string_view kOpenQuote = "「";
constexpr std::string_view kCloseQuote = "」";
constexpr std::string_view kReasonMark = "」：";

std::string EnglishJobText(std::string_view text) {
    if (text == kFinishedText) {
        return std::string(FinishedText(Language::English));
    }
    for (const Phrase& phrase : kJobPhrases) {
        if (!text.starts_with(phrase.chinese)) {
            continue;
        }
        std::string_view rest = text.substr(phrase.chinese.size());
        if (!rest.starts_with(kOpenQuote)) {
            break;
        }
        rest.remove_prefix(kOpenQuote.size());
        // The file name is the user's and may hold anything; the reason never holds 」：.
        const std::size_t mark = rest.rfind(kReasonMark);
        if (mark == std::string_view::npos) {
            const std::string_view file = rest.ends_with(kCloseQuote)
                                              ? rest.substr(0, rest.size() - kCloseQuote.size())
                                              : rest;
            return std::string(phrase.english) + " \"" + std::string(file) + "\"";
        }
        std::string_view reason = rest.substr(mark + kReasonMark.size());
        for (const Phrase& known : kJobReasons) {
            if (reason == known.chinese) {
                reason = known.english;
            }
        }
        return std::string(phrase.english) + " \"" + std::string(rest.substr(0, mark)) +
               "\": " + std::string(reason);
    }
    return std::string(text);
}

}  // namespace

std::string HelpText(Language language) {
    return std::string(Say(language, kHelpChinese, kHelpEnglish));
}

std::string UsageProblemText(const SplitCommand& command, Language language) {
    std::string problem;
    switch (command.problem) {
        case SplitCommand::Problem::OutNeedsFolder:
            problem = Say(language, "--out 需要一个文件夹", "--out needs a folder");
            break;
        case SplitCommand::Problem::UnknownOption:
            problem =
                std::string(Say(language, "未知选项 ", "unknown option ")) + command.unknownOption;
            break;
        case SplitCommand::Problem::NoInput:
            problem = Say(language, "没有输入文件", "no input file");
            break;
        case SplitCommand::Problem::TooManyArguments:
        case SplitCommand::Problem::None:
            problem = Say(language, "参数太多", "too many arguments");
            break;
    }
    return problem +
           std::string(Say(language, "；参见 quenlo-split --help", "; see quenlo-split --help"));
}

std::string OddLinesPerFileText(std::string_view text, std::int64_t limit, Language language) {
    const std::string quoted = std::string(Say(language, "每个文件的行数", "LINES_PER_FILE")) +
                               " \"" + std::string(text) + "\"";
    if (limit >= 1) {
        return quoted + std::string(Say(language, " 按 ", " is read as ")) + std::to_string(limit) +
               std::string(Say(language, " 处理", ""));
    }
    return quoted + std::string(Say(language, " 不是从 1 起的整数，所有行都写入文件 1",
                                    " is not a whole number from 1 on, so every line goes "
                                    "to file 1"));
}

std::string LinesEndInLFText(std::string_view input, Language language) {
    std::string text(Say(language, "“", "\""));
    text += input;
    text += Say(language, "”：各行以 LF 结尾", "\": lines end in LF");
    return text;
}

std::string_view WarningPrefix(Language language) {
    return Say(language, "警告：", "warning: ");
}

std::string_view FinishedText(Language language) {
    return Say(language, kFinishedText, "Done.");
}

std::string_view SavingResultsText(Language language) {
    return Say(language, "正在保存拆分结果…", "Saving the split results…");
}

std::string CannotWriteStandardOutputText(std::string_view reason, Language language) {
    return std::string(Say(language, "无法写入标准输出：", "cannot write to standard output: ")) +
           std::string(reason);
}

std::string JobText(std::string_view text, Language language) {
    return language == Language::Chinese ? std::string(text) : EnglishJobText(text);
}

}  // namespace quenlo
