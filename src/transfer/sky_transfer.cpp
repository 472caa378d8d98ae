#include "transfer/sky_transfer.h"

#include "platform/file_ops.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shown_name.h"
#include "transfer/layout.h"
#include "transfer/overwrite.h"

namespace corvane {

namespace {

void Refuse(Host& host, const std::string& text)
{
    host.alert(AlertSound::Exclamation);
    host.messageBox({text, "Not allowed", MessageIcon::Warning, {MessageButton::Ok}, true});
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

SkyDecision DecideSky(const std::string& name, const StockRule& stock)
{
    if (name.empty())
        return {SkyVerdict::NotSpecified, {}};
    if (!stock.hasBaseGame() && stock.sky(name))
        return {SkyVerdict::Stock, {}};
    if (HasControlByte(name))
        return {SkyVerdict::NotAllowed, "a control character"};
    if (name.find_first_of("/\\") != std::string::npos)
        return {SkyVerdict::NotAllowed, "a path separator"};
    if (name.find("..") != std::string::npos)
        return {SkyVerdict::NotAllowed, "a '..'"};
    if (name.find_first_of("*?[") != std::string::npos)
        return {SkyVerdict::NotAllowed, "a wildcard"};
    if (stock.hasBaseGame() && stock.sky(name))
        return {SkyVerdict::Stock, {}};
    return {};
}

ResourcePlaces SkyPlaces(const std::string& srcPath, const std::string& targPath)
{
    return {JoinPath(SourceRoot(srcPath), "env") + Separator(), JoinPath(targPath, "env") + Separator()};
}

std::vector<std::string> SkyFaceImages(const std::string& sourceFolder, const std::string& pattern)
{
    std::vector<std::string> matches = FindFiles(sourceFolder, pattern);
    if (matches.size() > 2)
        matches.resize(2);
    return matches;
}

void TransferSky(TransferContext& context, const std::string& skyName, const std::string& srcPath,
                 const std::string& targPath, const StockRule& stock)
{
    const SkyDecision decision = DecideSky(skyName, stock);
    switch (decision.verdict) {
    case SkyVerdict::NotSpecified: Refuse(context.host, "Sky env file not specified!"); return;
    case SkyVerdict::Stock: Refuse(context.host, "Can't copy internal env file: " + skyName); return;
    case SkyVerdict::NotAllowed:
        context.log.recordProblem(TransferProblem::Kind::RefusedSky, skyName, decision.reason);
        Refuse(context.host, "Sky env file name not allowed: " + ShownName(skyName));
        return;
    case SkyVerdict::Transfer: break;
    }
    if (!CreateTargetSubdirectory(context, targPath, "env"))
        return;
    const ResourcePlaces env = SkyPlaces(srcPath, targPath);
    // A missing face is silent, but a folder that cannot be read is no missing folder.
    const Listing listing = ListDirectory(env.sourceFolder);
    if (!listing.ok && ProbePath(env.sourceFolder).kind != PathKind::Missing)
        context.log.recordFailure(env.sourceFolder, listing.error);
    const TargetFolder into(targPath);
    for (const char* face : kSkyFaces)
        TransferSkyFace(context, into, env.sourceFolder, env.targetFolder, skyName + face + ".*");
}

void TransferSkyFace(TransferContext& context, const TargetFolder& into, const std::string& sourceFolder,
                     const std::string& targetFolder, const std::string& pattern)
{
    const std::vector<std::string> matches = SkyFaceImages(sourceFolder, pattern);
    if (matches.empty())
        context.log.recordProblem(TransferProblem::Kind::Missing, sourceFolder + pattern);
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const std::string source = sourceFolder + matches[i];
        const std::string target = targetFolder + matches[i];
        const auto mayReplace = [&] {
            return OverwritePrompt(context.host, target, source, "Environment file exists!",
                                   PromptButtons::YesNo) != OverwriteAnswer::No;
        };
        if (!TransferAndReport(context, into, source, target, target, mayReplace))
            context.log.append((i == 0 ? "File Exists: " : "File Already Exists:  ") + ShownName(target));
    }
}

}  // namespace corvane
