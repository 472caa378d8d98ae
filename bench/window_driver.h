#pragma once
// What the window's bench drivers share: a configuration folder of their own,
// so that nothing reaches the user's settings, the settings file the program
// starts on, and the clock.

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The value below which `share` of the sorted values lie.
inline double Percentile(const std::vector<double>& sorted, double share)
{
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(static_cast<double>(sorted.size()) * share))];
}

// A configuration folder for one run. Made before the QApplication, so that
// Qt and the program find their settings there.
class PrivateConfig {
public:
    PrivateConfig()
    {
        if (folder_.isValid())
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder_.path()));
    }
    bool valid() const { return folder_.isValid(); }

    // Writes the settings file as an earlier run would have left it and
    // returns its path; "" when it cannot be written.
    std::string writeSettings(const QByteArray& src, const QByteArray& targ) const
    {
        const QString path = folder_.path() + QStringLiteral("/Corvane.conf");
        QFile ini(path);
        if (!ini.open(QIODevice::WriteOnly))
            return {};
        ini.write("[General]\nSrcPath=" + src + "\nTargPath=" + targ + "\nPakPath=\nPellarkPath=\n");
        return path.toStdString();
    }

private:
    QTemporaryDir folder_;
};

}  // namespace bench
