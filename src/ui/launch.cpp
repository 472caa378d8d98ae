#include "ui/launch.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "ui/text.h"

namespace corvane::ui {

LaunchResult LaunchProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory)
{
    if (program.empty())
        return 0;
    QStringList args;
    for (const std::string& argument : arguments)
        args << Q(argument);
    qint64 pid = 0;
    if (!QProcess::startDetached(Q(program), args, Q(workingDirectory), &pid))
        return 0;
    return pid;
}

LaunchResult ExploreFolder(const std::string& folder)
{
    if (folder.empty())
        return 0;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(folder))) ? 1 : 0;
}

}  // namespace corvane::ui
