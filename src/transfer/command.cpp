#include "transfer/command.h"

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "transfer/extras.h"
#include "transfer/stock.h"
#include "transfer/pellark.h"
#include "transfer/layout.h"
#include "transfer/level_files.h"
#include "transfer/resources.h"
#include "transfer/sky_transfer.h"

namespace corvane {

namespace {

TransferReport Ended(TransferOutcome outcome, const TransferJob& job, const TransferLog& log)
{
    return {outcome, TargetMapPath(job.currentMapPath, job.targPath), std::nullopt, log.failures(),
            log.problems(), {}};
}

// Takes the lock on the target. False when another transfer holds it and the
// person does not wait for it. A file system that cannot lock a folder does
// not stop the transfer: new files are still never put over others.
bool LockTarget(FolderLock& lock, const std::string& target, Host& host)
{
    if (lock.tryLock(target) != FolderLock::State::Busy)
        return true;
    if (!host.waitForTarget(target))
        return false;
    lock.wait();
    return true;
}

}  // namespace

std::vector<std::string> ProblemSummary(const TransferReport& report)
{
    if (!report.hasProblems())
        return {};
    std::size_t missing = 0;
    for (const TransferProblem& problem : report.problems)
        missing += problem.kind == TransferProblem::Kind::Missing ? 1 : 0;
    const std::size_t refused = report.problems.size() - missing;
    std::vector<std::string> lines{"Problems: " + std::to_string(report.failures.size()) + " failed, " +
                                   std::to_string(missing) + " missing, " + std::to_string(refused) + " refused"};
    for (const TransferFailure& failure : report.failures)
        lines.push_back("Failed: " + ShownName(failure.path) + ": " + failure.reason);
    for (const TransferProblem& problem : report.problems) {
        if (problem.kind == TransferProblem::Kind::Missing)
            lines.push_back("Missing: " + ShownName(problem.name) +
                            (problem.reason.empty() ? "" : " (" + ShownName(problem.reason) + ")"));
    }
    for (const TransferProblem& problem : report.problems) {
        if (problem.kind != TransferProblem::Kind::Missing)
            lines.push_back((problem.kind == TransferProblem::Kind::RefusedSky ? "Refused sky: " : "Refused: ") +
                            ShownName(problem.name) + ": " + problem.reason);
    }
    return lines;
}

std::vector<std::string> WarningLines(const TransferReport& report)
{
    std::vector<std::string> lines;
    for (const std::string& warning : report.warnings)
        lines.push_back("Warning: " + warning);
    return lines;
}

namespace {

TransferReport Run(const TransferJob& job, const ResourceList& textures, const ResourceList& sounds,
                   const LoadedLevel* level, TransferSession& session, TransferLog& log, Host& host)
{
    log.clear();
    // Read before anything moves: the level's files and resources may leave the working tree.
    std::vector<std::string> warnings;
    std::vector<ExtraFile> extras;
    if (level) {
        warnings = CompiledLevelWarnings(job.currentMapPath, *level);
        if (job.complete) {
            CaseLookup lookup;
            extras = FindExtras(*level, job.srcPath, job.targPath, StockRuleFor(job.basePath), lookup);
        }
    }
    TransferContext context{host, log, job.mode};

    // A target that exists is locked before anything is asked about it; a new
    // one as soon as it is made.
    FolderLock lock;
    if (!IsDriveRootTarget(job.target) && DirectoryExists(job.target) && !LockTarget(lock, job.target, host))
        return Ended(TransferOutcome::TargetBusy, job, log);
    if (!PrepareTargetDirectory(context, job.target)) {
        host.alert(AlertSound::Error);
        host.messageBox({"Didn't create target directory!\n" + ShownName(job.target) +
                             "\n\nChoose New from the File menu",
                         "Error", MessageIcon::Error, {MessageButton::Ok}});
        return Ended(TransferOutcome::TargetNotPrepared, job, log);
    }
    if (lock.state() == FolderLock::State::Free && !LockTarget(lock, job.target, host))
        return Ended(TransferOutcome::TargetBusy, job, log);

    if (CreateTargetSubdirectory(context, job.targPath, "maps")) {
        if (!TransferLevelFiles(context, job.currentMapPath, job.targPath, session.targetMapPath))
            log.append("Could not copy file:\n" + ShownName(job.currentMapPath));
    } else {
        log.append("Can't create \"maps\" directory!");
    }

    if (job.includeSky && !job.skyName.empty())
        TransferSky(context, job.skyName, job.srcPath, job.targPath, StockRuleFor(job.basePath));

    if (!CreateResourceLayout(context, job.target, job.srcPath, textures, sounds)) {
        host.alert(AlertSound::Error);
        host.messageBox({"One or more resource directories\ncould not be created.\n\nAborting!",
                         "Fatal Error", MessageIcon::Error, {MessageButton::Ok}});
        return Ended(TransferOutcome::LayoutFailed, job, log);
    }

    TransferResources(context, ResourceKind::Textures, textures, job.srcPath, job.targPath);
    TransferResources(context, ResourceKind::Sounds, sounds, job.srcPath, job.targPath);
    if (!extras.empty())
        TransferExtras(context, extras, job.targPath);

    if (job.includePellark) {
        if (job.mode == TransferMode::Move) {
            host.messageBox({"Pellark files will not be moved, only copied,\n"
                             "to keep your Current tree intact.",
                             "Corvane", MessageIcon::Information, {MessageButton::Ok}});
        }
        host.setStatus(StatusLine::Activity, "Copying Pellark tree...");
        TransferContext copying{host, log, TransferMode::Copy};
        OverwritePolicy pellarkPolicy;  // asks again in every run
        CopyPellarkTree(copying, job.pellarkPath, job.targPath, pellarkPolicy);
    }

    host.progress("Counting the target's bytes", 0, 0);
    TransferReport report = Ended(TransferOutcome::RanThrough, job, log);
    report.byteTotal = ShowDirectoryBytes(host, job.targPath, job.targPath, session.targetMapPath);
    report.warnings = std::move(warnings);
    return report;
}

}  // namespace

TransferReport RunTransferCommand(const TransferJob& job, const ResourceList& textures,
                                  const ResourceList& sounds, TransferSession& session, TransferLog& log,
                                  Host& host)
{
    return Run(job, textures, sounds, nullptr, session, log, host);
}

TransferReport RunTransferCommand(const TransferJob& job, const LoadedLevel& level, TransferSession& session,
                                  TransferLog& log, Host& host)
{
    return Run(job, level.TextureList, level.SoundList, &level, session, log, host);
}

}  // namespace corvane
