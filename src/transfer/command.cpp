#include "transfer/command.h"

#include "platform/shown_name.h"
#include "transfer/byte_total.h"
#include "transfer/pellark.h"
#include "transfer/layout.h"
#include "transfer/level_files.h"
#include "transfer/resources.h"
#include "transfer/sky_transfer.h"

namespace corvane {

namespace {

TransferReport Ended(TransferOutcome outcome, const TransferJob& job, const TransferLog& log)
{
    return {outcome, TargetMapPath(job.currentMapPath, job.targPath), std::nullopt, log.failures()};
}

}  // namespace

TransferReport RunTransferCommand(const TransferJob& job, const ResourceList& textures,
                                  const ResourceList& sounds, TransferSession& session, TransferLog& log,
                                  Host& host)
{
    log.clear();
    TransferContext context{host, log, job.mode};

    if (!PrepareTargetDirectory(context, job.target)) {
        host.alert(AlertSound::Error);
        host.messageBox({"Didn't create target directory!\n" + ShownName(job.target) +
                             "\n\nChoose New from the File menu",
                         "Error", MessageIcon::Error, {MessageButton::Ok}});
        return Ended(TransferOutcome::TargetNotPrepared, job, log);
    }

    if (CreateTargetSubdirectory(context, job.targPath, "maps")) {
        if (!TransferLevelFiles(context, job.currentMapPath, job.targPath, session.targetMapPath))
            log.append("Could not copy file:\n" + ShownName(job.currentMapPath));
    } else {
        log.append("Can't create \"maps\" directory!");
    }

    if (job.includeSky && !job.skyName.empty())
        TransferSky(context, job.skyName, job.srcPath, job.targPath);

    if (!CreateResourceLayout(context, job.target, job.srcPath, textures, sounds)) {
        host.alert(AlertSound::Error);
        host.messageBox({"One or more resource directories\ncould not be created.\n\nAborting!",
                         "Fatal Error", MessageIcon::Error, {MessageButton::Ok}});
        return Ended(TransferOutcome::LayoutFailed, job, log);
    }

    TransferResources(context, ResourceKind::Textures, textures, job.srcPath, job.targPath);
    TransferResources(context, ResourceKind::Sounds, sounds, job.srcPath, job.targPath);

    if (job.includePellark) {
        if (job.mode == TransferMode::Move) {
            host.messageBox({"Pellark files will not be moved, only copied,\n"
                             "to keep your Current tree intact.",
                             "Corvane", MessageIcon::Information, {MessageButton::Ok}});
        }
        host.setStatus(StatusLine::Activity, "Copying Pellark tree...");
        TransferContext copying{host, log, TransferMode::Copy};
        CopyPellarkTree(copying, job.pellarkPath, job.targPath, session.pellarkPolicy);
    }

    host.progress("Counting the target's bytes", 0, 0);
    TransferReport report = Ended(TransferOutcome::RanThrough, job, log);
    report.byteTotal = ShowDirectoryBytes(host, job.targPath, job.targPath, session.targetMapPath);
    return report;
}

}  // namespace corvane
