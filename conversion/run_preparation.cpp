#include "conversion/run_preparation.h"

#include <exception>
#include <vector>

#include "conversion/output_naming.h"
#include "conversion/texts.h"

namespace quenlo {

std::string Describe(std::string_view what, const std::filesystem::path& file,
                     std::string_view reason) {
    return std::string(what) + "「" + Utf8FromPath(file) + "」：" + std::string(reason);
}

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

namespace {

class RunPreparation {
public:
    RunPreparation(ConversionHost& host, const RunOptions& options)
        : host_(host), files_(host.Files()), options_(options) {}

    PreparedInput Prepare();

private:
    void MakeResultsFolder(const std::filesystem::path& results);
    void RefuseInputAmongOutputs(const std::filesystem::path& results);
    void RemoveCleanupFile(std::string_view inputText);

    ConversionHost& host_;
    FileSystem& files_;
    const RunOptions& options_;
    std::filesystem::path inputPath_;
    PreparedInput input_;
};

// For the window the results folder comes first: a path there that is no folder is
// refused before anything else. Otherwise it comes once the input is open, so a run
// that cannot start leaves nothing behind. The earlier file named after the input
// goes only once the input is open, so a run that cannot read its input deletes
// nothing.
PreparedInput RunPreparation::Prepare() {
    const std::filesystem::path results = host_.ResultsFolder();
    if (options_.folderBeforeInput) {
        MakeResultsFolder(results);
    }
    std::string inputText = host_.InputPathText();
    if (options_.trimInputPath) {
        inputText = std::string(TrimSpaces(inputText));
    }
    try {
        inputPath_ = PathFromUtf8(inputText);
    } catch (const std::exception&) {
        throw RunFailure{std::string(kInvalidInputPath) + "「" + inputText + "」", false};
    }
    try {
        input_.file = files_.OpenForReading(inputPath_);
    } catch (const FileError& error) {
        throw RunFailure{Describe(kCannotOpenInput, error.file(), error.reason()), false};
    }
    input_.identity = input_.file->Identity();
    input_.length = input_.file->Length();
    if (input_.length) {
        host_.Progress(0, *input_.length);  // the length is known before the first pump
    }
    if (!options_.folderBeforeInput) {
        MakeResultsFolder(results);
    }
    RefuseInputAmongOutputs(results);
    if (options_.removeCleanupFile) {
        RemoveCleanupFile(inputText);
    }
    return std::move(input_);
}

void RunPreparation::MakeResultsFolder(const std::filesystem::path& results) {
    std::vector<std::filesystem::path> levels{results};
    if (options_.createParentFolders) {
        for (std::filesystem::path parent = results.parent_path();
             !parent.empty() && parent != parent.parent_path() && !files_.Exists(parent);
             parent = parent.parent_path()) {
            levels.push_back(parent);
        }
    }
    try {
        for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
            files_.CreateFolder(*level);
        }
    } catch (const FileError& error) {
        throw RunFailure{Describe(kCannotCreateFolder, error.file(), error.reason()), false};
    }
}

// An earlier result split again would be appended to while it is read, and never
// end; its lines would also go to the files before it. So before anything is
// written, the input is compared with every numbered file in the results folder,
// whatever name or link leads to it.
void RunPreparation::RefuseInputAmongOutputs(const std::filesystem::path& results) {
    if (!input_.identity) {
        return;
    }
    for (const std::filesystem::path& name : files_.FolderEntries(results)) {
        if (IsOutputFileName(Utf8FromPath(name)) &&
            files_.Identity(results / name) == input_.identity) {
            throw RunFailure{Describe(kCannotOpenInput, inputPath_, kInputIsOutput), false};
        }
    }
}

void RunPreparation::RemoveCleanupFile(std::string_view inputText) {
    const std::optional<std::string> name = CleanupFileName(inputText, host_.Today());
    if (!name) {
        return;
    }
    const std::filesystem::path file = host_.ResultsFolder() / PathFromUtf8(*name);
    if (input_.identity && files_.Identity(file) == input_.identity) {
        return;  // never delete what we are about to read
    }
    if (files_.Exists(file)) {
        files_.Remove(file);  // a failure here only leaves an old file behind
    }
}

}  // namespace

PreparedInput PrepareRun(ConversionHost& host, const RunOptions& options) {
    return RunPreparation(host, options).Prepare();
}

}  // namespace quenlo
