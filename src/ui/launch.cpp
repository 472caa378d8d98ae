#include "ui/launch.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/files.h"
#include "ui/text.h"

namespace corvane::ui {

namespace {

// The system's reason without the name of the call that gave it
// ("execv: Permission denied" reads "Permission denied").
std::string Reason(const QString& error)
{
    const qsizetype colon = error.indexOf(QStringLiteral(": "));
    const bool named = colon > 0 && !error.left(colon).contains(QLatin1Char(' '));
    return Bytes(named ? error.mid(colon + 2) : error);
}

}  // namespace

Launch LaunchProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDirectory)
{
    if (program.empty())
        return {0, "None is set: choose it with Configure > Set paths..."};
    if (!workingDirectory.empty() && !DirectoryExists(workingDirectory))
        return {0, "The folder it is to start in does not exist: " + workingDirectory};
    QProcess process;
    process.setProgram(Q(program));
    QStringList args;
    for (const std::string& argument : arguments)
        args << Q(argument);
    process.setArguments(args);
    process.setWorkingDirectory(Q(workingDirectory));
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return {0, Reason(process.errorString())};
    return {pid, {}};
}

Launch ExploreFolder(const std::string& folder)
{
    if (folder.empty())
        return {0, "No target folder is set."};
    if (!DirectoryExists(folder))
        return {0, "The folder does not exist."};
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Q(folder))))
        return {0, "The desktop has no program that opens folders."};
    return {1, {}};
}

}  // namespace corvane::ui
