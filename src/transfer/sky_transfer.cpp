#include "transfer/sky_transfer.h"

#include <array>

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "transfer/layout.h"
#include "transfer/overwrite.h"

namespace corvane {

namespace {

void Refuse(Host& host, const std::string& text)
{
    host.alert(AlertSound::Exclamation);
    host.messageBox({text, "Not allowed", MessageIcon::Warning, {MessageButton::Ok}});
}

bool ClimbsOut(const std::string& name)
{
    return name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
           name.find("..") != std::string::npos;
}

}  // namespace

bool IsStockSkyName(const std::string& name)
{
    static constexpr std::array<const char*, 11> kStock = {
        "unit1_", "unit2_", "unit3_", "unit4_", "unit5_", "unit6_",
        "unit7_", "unit8_", "unit9_", "space1_", "space1"};
    for (const char* stock : kStock) {
        if (name == stock)
            return true;
    }
    return false;
}

void TransferSky(TransferContext& context, const std::string& skyName, const std::string& srcPath,
                 const std::string& targPath)
{
    if (skyName.empty()) {
        Refuse(context.host, "Sky env file not specified!");
        return;
    }
    if (IsStockSkyName(skyName)) {
        Refuse(context.host, "Can't copy internal env file: " + skyName);
        return;
    }
    if (ClimbsOut(skyName)) {
        Refuse(context.host, "Sky env file name not allowed: " + skyName);
        return;
    }
    if (!CreateTargetSubdirectory(context, targPath, "env"))
        return;
    const std::string sourceFolder = JoinPath(SourceRoot(srcPath), "env") + Separator();
    const std::string targetFolder = JoinPath(targPath, "env") + Separator();
    // A missing face is silent, but a folder that cannot be read is no missing folder.
    const Listing env = ListDirectory(sourceFolder);
    if (!env.ok && ProbePath(sourceFolder).kind != PathKind::Missing)
        context.log.recordFailure(sourceFolder, env.error);
    const TargetFolder into(targPath);
    for (const char* face : {"bk.*", "ft.*", "lf.*", "rt.*", "dn.*", "up.*"})
        TransferSkyFace(context, into, sourceFolder, targetFolder, skyName + face);
}

void TransferSkyFace(TransferContext& context, const TargetFolder& into, const std::string& sourceFolder,
                     const std::string& targetFolder, const std::string& pattern)
{
    const std::vector<std::string> matches = FindFiles(sourceFolder, pattern);
    for (std::size_t i = 0; i < matches.size() && i < 2; ++i) {
        const std::string source = sourceFolder + matches[i];
        const std::string target = targetFolder + matches[i];
        const auto mayReplace = [&] {
            return OverwritePrompt(context.host, target, source, "Environment file exists!",
                                   PromptButtons::YesNo) != OverwriteAnswer::No;
        };
        if (!TransferAndReport(context, into, source, target, target, mayReplace))
            context.log.append((i == 0 ? "File Exists: " : "File Already Exists:  ") + target);
    }
}

}  // namespace corvane
