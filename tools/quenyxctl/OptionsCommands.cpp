// trace, trace-folder and secure-print: what the options dialog sets, written the way it writes it.
#include "AgentKeyValues.h"

#include "options/AgentOptions.h"
#include "options/AgentValues.h"
#include "options/mod_TraceConfig.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/mod_Trace.h"

#include <algorithm>

namespace quenyx::ctl {

namespace {

using mod_Trace::kTraceComponents;
using mod_Trace::TraceFileStatus;

// The words of the level rows, "Debug" without its "!".
std::string LevelWord(std::int16_t level)
{
    std::string word(options::kLevelRows[static_cast<std::size_t>(level)]);
    if (word.ends_with('!'))
        word.pop_back();
    return word;
}

struct TraceFile
{
    std::size_t component = 0;
    std::string path;
    std::int16_t level = 0;
    std::string baseFile;
    std::string before; // the file's bytes, and what they become
    std::string after;
};

// This installation's trace files, read as the options dialog reads them when it opens.
std::vector<TraceFile> ReadTraceFiles(std::string& folder)
{
    const auto paths = options::TraceFilePaths(options::ToNumber(options::AgentValue("InstallType", "1")),
                                               options::AgentValue("PathInstall", ""));
    std::vector<TraceFile> files;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        if (paths[index].empty())
            continue;
        TraceFile file{index, paths[index], 0, {}, {}, {}};
        if (mod_Trace::ReadTraceConfig(file.path, file.level, file.baseFile) != TraceFileStatus::Done)
            file.level = -1;
        if (index == options::kListenerFile)
            folder = options::FolderOfListenerLog(file.baseFile);
        files.push_back(std::move(file));
    }
    return files;
}

void ReportTrace(Call& call, const std::vector<TraceFile>& files, const std::string& folder)
{
    call.report.listName = "trace";
    for (const TraceFile& file : files)
        call.report.rows.push_back({Field::Of("component", std::string(kTraceComponents[file.component].name)),
                                    file.level < 0 ? Field::None("level") : Field::Of("level", LevelWord(file.level)),
                                    Field::Of("file", file.path)});
    call.report.extra.push_back(Field::Of("folder", folder));
}

// Puts every planned file in place; when one fails, those already written get their old bytes back.
int WriteTraceFiles(Call& call, std::vector<TraceFile*> planned)
{
    // The bytes planned are the bytes written: the files are not read and rewritten a second time.
    const auto files = platform::Current().files;
    const auto put = [&](const TraceFile& file, const std::string& bytes) {
        return platform::ReplaceWholeFile(files->HostPath(file.path), bytes);
    };
    for (std::size_t done = 0; done < planned.size(); ++done) {
        const TraceFile& file = *planned[done];
        if (put(file, file.after))
            continue;
        for (std::size_t undo = done; undo-- > 0;)
            std::ignore = put(*planned[undo], planned[undo]->before);
        return call.Fail(kFailed, file.path, "the trace file cannot be written; nothing changed");
    }
    return kDone;
}

// Works out each file's new bytes, and writes those that change (unless --check); a file that cannot be read fails
// the whole command before anything is written.
int PlanAndWrite(Call& call, std::vector<TraceFile*>& planned)
{
    for (TraceFile* file : planned) {
        if (mod_Trace::PreviewTraceConfig(file->path, file->level, file->baseFile, file->before, file->after) !=
            TraceFileStatus::Done)
            return call.Fail(kFailed, file->path, "the trace file cannot be read; nothing changed");
        call.report.changed = call.report.changed || file->before != file->after;
    }
    std::erase_if(planned, [](const TraceFile* file) { return file->before == file->after; });
    return call.check ? kDone : WriteTraceFiles(call, planned);
}

} // namespace

int Trace(Call& call)
{
    if (call.arguments.size() == 1 || call.arguments.size() > 2)
        return call.Fail(kInvalid, "trace", "usage: trace [COMPONENT LEVEL]");
    std::string folder;
    std::vector<TraceFile> files = ReadTraceFiles(folder);
    if (!call.arguments.empty()) {
        const std::string& component = call.arguments[0];
        const auto file = std::ranges::find_if(files, [&](const TraceFile& candidate) {
            return platform::EqualsIgnoringCase(kTraceComponents[candidate.component].name, component);
        });
        if (file == files.end())
            return call.Fail(kInvalid, component,
                             "no such component here (Listener, Sender, Guardian, LiveUpdate, HttpServer, UICaller, "
                             "and Watcher on installation types 1 and 5)");
        const auto level = options::LevelOfRow(call.arguments[1]);
        if (!level)
            return call.Fail(kInvalid, component, "the level is one of OFF, Fatal, Error, Warn, Info, Debug");
        // Only the level line: the file's log file line stays as it is.
        file->level = *level;
        file->baseFile.clear();
        std::vector<TraceFile*> planned{std::to_address(file)};
        if (const int status = PlanAndWrite(call, planned); status != kDone)
            return status;
        std::string ignored;
        files = ReadTraceFiles(ignored);
    }
    ReportTrace(call, files, folder);
    return kDone;
}

int TraceFolder(Call& call)
{
    if (call.arguments.size() != 1)
        return call.Fail(kInvalid, "trace-folder", "usage: trace-folder PATH");
    if (call.arguments[0].empty())
        return call.Fail(kInvalid, "trace-folder", "the folder is empty");
    const std::string folder = options::TraceFolder(call.arguments[0]);
    std::string ignored;
    std::vector<TraceFile> files = ReadTraceFiles(ignored);
    std::vector<TraceFile*> planned;
    for (TraceFile& file : files) {
        if (file.level < 0)
            return call.Fail(kFailed, file.path, "the trace file cannot be read; nothing changed");
        file.baseFile = folder + std::string(kTraceComponents[file.component].logFile);
        planned.push_back(&file);
    }
    if (const int status = PlanAndWrite(call, planned); status != kDone)
        return status;
    std::string shown;
    files = ReadTraceFiles(shown);
    ReportTrace(call, files, call.check ? folder : shown);
    return kDone;
}

int SecurePrint(Call& call)
{
    const auto& words = call.arguments;
    if (words.empty() || words.size() % 2 == 0 || (words[0] != "on" && words[0] != "off"))
        return call.Fail(kInvalid, "secure-print",
                         "usage: secure-print on|off [--releaser ADDRESS] [--user-choice on|off]");
    const bool enabled = words[0] == "on";
    std::string releaser = StoredText("ReleaserServer").value_or("");
    bool choice = options::ToNumber(StoredText("SecurePrintChoiceEnabled").value_or("0")) == 1;
    for (std::size_t at = 1; at < words.size(); at += 2) {
        if (!enabled)
            return call.Fail(kInvalid, "secure-print", words[at] + " is set only with secure printing on");
        if (words[at] == "--releaser")
            releaser = words[at + 1];
        else if (words[at] == "--user-choice" && (words[at + 1] == "on" || words[at + 1] == "off"))
            choice = words[at + 1] == "on";
        else
            return call.Fail(kInvalid, "secure-print", "unknown option " + words[at] + " " + words[at + 1]);
    }
    if (enabled && releaser.empty())
        return call.Fail(kInvalid, "ReleaserServer", "secure printing needs the releaser's address (--releaser)");

    // The values the dialog's OK leaves behind.
    const std::optional<std::string> choiceAfter = enabled && choice ? std::optional<std::string>("1") : std::nullopt;
    call.report.changed = StoredText("SecurePrintEnabled") != (enabled ? "1" : "0") ||
                          StoredText("SecurePrintChoiceEnabled") != choiceAfter ||
                          (enabled && StoredText("ReleaserServer") != releaser);
    if (call.report.changed && !call.check) {
        if (const int writable = CheckWritable(call, "secure-print", mod_Trace::AgentKey); writable != kDone)
            return writable;
        if (const auto status = options::SaveSecurePrint(enabled, releaser, choice); status != 0)
            return WriteRefused(call, "secure-print", status);
    }
    call.report.listName = "settings";
    for (const char* name : {"SecurePrintEnabled", "ReleaserServer", "SecurePrintChoiceEnabled"}) {
        const auto text = StoredText(name);
        Row row{Field::Of("name", name), text ? Field::Of("text", *text) : Field::None("text")};
        call.report.rows.push_back(row);
    }
    return kDone;
}

} // namespace quenyx::ctl
